#pragma once

#include <chrono>
#include <cstddef>

#include "simulator/request_log.h"

namespace sim {

// How long traffic takes on a HART line: 1200 baud, 11 bits per character (start, 8 data,
// odd parity, stop), so one byte every 9.167 ms, plus the device's turnaround between the
// last request byte and the first answer byte.
class WireTiming {
public:
    static constexpr int kBaudRate = 1200;
    static constexpr int kBitsPerCharacter = 11;
    // Well inside the 28-character (256 ms) slave time-out of HART.
    static constexpr std::chrono::milliseconds kDefaultTurnaround{20};

    WireTiming();
    explicit WireTiming(std::chrono::microseconds turnaround);

    static std::chrono::nanoseconds characterTime();
    static std::chrono::nanoseconds lineTime(std::size_t byteCount);
    std::chrono::microseconds turnaround() const;
    // Request on the line, turnaround, answer on the line; an unanswered request costs its
    // own bytes only.
    std::chrono::nanoseconds transactionTime(std::size_t requestBytes,
                                             std::size_t answerBytes) const;
    // The sum over every logged request still held by the log.
    std::chrono::nanoseconds totalTime(const RequestLog& log) const;

private:
    std::chrono::microseconds m_turnaround;
};

}  // namespace sim
