#include "simulator/wire_timing.h"

namespace sim {

WireTiming::WireTiming() : m_turnaround(kDefaultTurnaround) {}

WireTiming::WireTiming(std::chrono::microseconds turnaround) : m_turnaround(turnaround) {}

std::chrono::nanoseconds WireTiming::characterTime() { return lineTime(1); }

std::chrono::nanoseconds WireTiming::lineTime(std::size_t byteCount)
{
    // Computed from the byte count so that long frames do not accumulate rounding.
    const auto bits = static_cast<long long>(byteCount) * kBitsPerCharacter;
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / kBaudRate);
}

std::chrono::microseconds WireTiming::turnaround() const { return m_turnaround; }

std::chrono::nanoseconds WireTiming::transactionTime(std::size_t requestBytes,
                                                     std::size_t answerBytes) const
{
    if (answerBytes == 0) return lineTime(requestBytes);
    return lineTime(requestBytes) + m_turnaround + lineTime(answerBytes);
}

std::chrono::nanoseconds WireTiming::totalTime(const RequestLog& log) const
{
    std::chrono::nanoseconds total{0};
    for (const LoggedRequest& entry : log.entries())
        total += transactionTime(entry.requestBytes, entry.answerBytes);
    return total;
}

}  // namespace sim
