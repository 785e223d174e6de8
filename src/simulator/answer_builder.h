#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

enum class FrameKind {
    Answer,  // slave to master (delimiter 0x06 / 0x86)
    Burst,   // burst frame (delimiter 0x01 / 0x81)
};

struct AnswerFrame {
    FrameKind kind = FrameKind::Answer;
    bool longFrame = false;
    // One byte (polling address) or five (long address), as the device puts them on the line.
    std::vector<std::uint8_t> address;
    std::uint8_t command = 0;
    std::uint8_t responseCode = 0;
    std::uint8_t deviceStatus = 0;
    std::vector<std::uint8_t> data;
};

// Puts an answer on the line: preambles, delimiter, address, command, byte count (two status
// bytes + data), status bytes, data, and the exclusive-or of everything from the delimiter on.
class AnswerBuilder {
public:
    static constexpr std::size_t kPreambleCount = 5;

    static std::vector<std::uint8_t> build(const AnswerFrame& frame);
};

}  // namespace sim
