#pragma once

#include <cstdint>
#include <span>

namespace hart {

// What a delimiter says a frame is.
enum class FrameKind : std::uint8_t {
    Request,  // STX: a master's frame
    Answer,   // ACK: a field device's answer
    Burst,    // BACK: a burst frame
    Unknown,
};

// Where the parts of a HART frame sit, counted from its delimiter (no preambles): address,
// command, byte count, data (an answer's two status bytes first) and the checksum after them.
// The codec, the answer check, the trace and the transports all read frames through this.
struct FrameLayout {
    FrameKind kind = FrameKind::Unknown;
    bool longAddress = false;  // five address bytes instead of one
    int commandOffset = 2;
    int countOffset = 3;
    int dataOffset = 4;

    static FrameLayout Of(std::uint8_t delimiter);

    // The frame's length as its byte count gives it; 0 while the bytes end before the count.
    int lengthOf(std::span<const std::uint8_t> frame) const;
};

// The exclusive-or of the bytes: the checksum a frame ends with.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes);

// The last byte is the checksum of those before it; false for an empty frame.
bool ChecksumMatches(std::span<const std::uint8_t> frame);

// A frame whose byte count covers exactly the bytes given and whose checksum matches.
bool IsWholeFrame(std::span<const std::uint8_t> frame);

}  // namespace hart
