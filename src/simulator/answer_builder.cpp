#include "simulator/answer_builder.h"

namespace sim {

namespace {

constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::uint8_t kLongAddressBit = 0x80;
constexpr std::uint8_t kAnswerFrameType = 0x06;
constexpr std::uint8_t kBurstFrameType = 0x01;

}  // namespace

std::vector<std::uint8_t> AnswerBuilder::build(const AnswerFrame& frame)
{
    std::vector<std::uint8_t> bytes(kPreambleCount, kPreamble);
    const std::size_t delimiterAt = bytes.size();
    const std::uint8_t frameType =
        frame.kind == FrameKind::Burst ? kBurstFrameType : kAnswerFrameType;
    bytes.push_back(static_cast<std::uint8_t>(frameType | (frame.longFrame ? kLongAddressBit : 0)));
    bytes.insert(bytes.end(), frame.address.begin(), frame.address.end());
    bytes.push_back(frame.command);
    // A frame carries at most 255 bytes after the count; longer data is cut rather than
    // sent with a count that lies.
    const std::size_t dataBytes = frame.data.size() > 253 ? 253 : frame.data.size();
    bytes.push_back(static_cast<std::uint8_t>(2 + dataBytes));
    bytes.push_back(frame.responseCode);
    bytes.push_back(frame.deviceStatus);
    bytes.insert(bytes.end(), frame.data.begin(),
                 frame.data.begin() + static_cast<std::ptrdiff_t>(dataBytes));
    std::uint8_t checksum = 0;
    for (std::size_t i = delimiterAt; i < bytes.size(); ++i) checksum ^= bytes[i];
    bytes.push_back(checksum);
    return bytes;
}

}  // namespace sim
