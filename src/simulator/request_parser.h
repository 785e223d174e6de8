#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "simulator/request.h"

namespace sim {

// Assembles master requests from the byte stream, one step at a time: preambles →
// delimiter → address → command → byte count → data → checksum. Anything that is not a
// request (too few preambles, another delimiter, answers of other slaves) is skipped.
class RequestParser {
public:
    // A slave needs at least two preamble bytes to lock onto a frame.
    static constexpr std::size_t kMinimumPreambles = 2;

    // Feeds one byte; returns the request it completes, checksum checked or not.
    std::optional<Request> push(std::uint8_t byte);
    // Drops a partial frame (the line went quiet in the middle of one).
    void reset();
    // True from the first preamble byte until the frame is complete.
    bool inFrame() const;

private:
    enum class Step { Preamble, Address, Command, ByteCount, Data, Checksum };

    void startFrame(bool longFrame);

    Step m_step = Step::Preamble;
    std::size_t m_preambles = 0;
    std::size_t m_addressBytesDue = 0;
    std::size_t m_dataBytesDue = 0;
    std::uint8_t m_checksum = 0;
    Request m_request;
};

}  // namespace sim
