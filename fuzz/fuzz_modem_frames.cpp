// libhartmodem's frame assembler over any byte stream, split at any points, with silences of
// any length between the pieces.
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

#include "modem/frame_assembler.h"

namespace {

using modem::FrameAssembler;
using Frames = std::vector<FrameAssembler::Frame>;

// Only what a slave sends: requests on the line are skipped, never delivered.
bool IsSlaveDelimiter(std::uint8_t byte)
{
    const std::uint8_t type = byte & 0x7F;
    return type == 0x01 || type == 0x06;
}

// Every delivered frame is one whole frame: a delimiter, its address, command, count, exactly
// the counted data and a checksum byte.
void CheckFrame(const FrameAssembler::Frame& frame)
{
    if (frame.empty() || frame.size() > FrameAssembler::kCapacityBytes ||
        !IsSlaveDelimiter(frame[0]))
        std::abort();
    const std::size_t addressBytes = (frame[0] & 0x80) != 0 ? 5 : 1;
    const std::size_t countAt = 1 + addressBytes + 1;
    if (frame.size() <= countAt || frame.size() != countAt + 1 + frame[countAt] + 1) std::abort();
}

Frames TakeAll(FrameAssembler& assembler)
{
    Frames frames;
    while (auto frame = assembler.takeFrame()) {
        CheckFrame(*frame);
        frames.push_back(std::move(*frame));
    }
    if (frames.size() > FrameAssembler::kMaxQueuedFrames) std::abort();
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool withSilences = input.ConsumeBool();
    FrameAssembler split;
    FrameAssembler::Clock::time_point now{};
    std::vector<std::uint8_t> stream;

    while (input.remaining_bytes() > 0) {
        const std::size_t pieceBytes = input.ConsumeIntegralInRange<std::size_t>(0, 64);
        const std::vector<std::uint8_t> piece = input.ConsumeBytes<std::uint8_t>(pieceBytes);
        split.feed(piece, now);
        stream.insert(stream.end(), piece.begin(), piece.end());
        if (withSilences) {
            now += std::chrono::milliseconds(input.ConsumeIntegralInRange<int>(0, 250));
            split.feed({}, now);
            TakeAll(split);
        }
    }
    if (withSilences) return 0;

    // Without silences, where the stream was split must not matter.
    FrameAssembler whole;
    whole.feed(stream, FrameAssembler::Clock::time_point{});
    if (TakeAll(split) != TakeAll(whole)) std::abort();
    return 0;
}
