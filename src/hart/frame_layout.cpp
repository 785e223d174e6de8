#include "hart/frame_layout.h"

namespace hart {
namespace {

constexpr std::uint8_t kLongAddressBit = 0x80;
constexpr std::uint8_t kFrameKindMask = 0x07;
constexpr std::uint8_t kRequestKind = 0x02;
constexpr std::uint8_t kAnswerKind = 0x06;
constexpr std::uint8_t kBurstKind = 0x01;
constexpr int kLongAddressExtra = 4;

}  // namespace

FrameLayout FrameLayout::Of(std::uint8_t delimiter)
{
    FrameLayout layout;
    switch (delimiter & kFrameKindMask) {
    case kRequestKind: layout.kind = FrameKind::Request; break;
    case kAnswerKind: layout.kind = FrameKind::Answer; break;
    case kBurstKind: layout.kind = FrameKind::Burst; break;
    default: layout.kind = FrameKind::Unknown; break;
    }
    layout.longAddress = (delimiter & kLongAddressBit) != 0;
    if (layout.longAddress) {
        layout.commandOffset += kLongAddressExtra;
        layout.countOffset += kLongAddressExtra;
        layout.dataOffset += kLongAddressExtra;
    }
    return layout;
}

int FrameLayout::lengthOf(std::span<const std::uint8_t> frame) const
{
    if (frame.size() <= static_cast<std::size_t>(countOffset)) return 0;
    return dataOffset + frame[static_cast<std::size_t>(countOffset)] + 1;
}

std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint8_t checksum = 0;
    for (std::uint8_t byte : bytes) checksum ^= byte;
    return checksum;
}

bool ChecksumMatches(std::span<const std::uint8_t> frame)
{
    return !frame.empty() && FrameChecksum(frame.first(frame.size() - 1)) == frame.back();
}

bool IsWholeFrame(std::span<const std::uint8_t> frame)
{
    if (frame.empty()) return false;
    const int length = FrameLayout::Of(frame[0]).lengthOf(frame);
    return length > 0 && static_cast<std::size_t>(length) == frame.size() && ChecksumMatches(frame);
}

}  // namespace hart
