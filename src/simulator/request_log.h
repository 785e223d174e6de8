#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

// One request the device saw, and what became of it.
struct LoggedRequest {
    std::uint8_t command = 0;
    std::vector<std::uint8_t> data;
    bool longFrame = false;
    bool checksumOk = false;
    // Addressed to this device (and in a frame format it answers).
    bool addressed = false;
    // Response code of the real answer; nullopt when the device stayed silent. Communication
    // error reports and busy answers show their first status byte.
    std::optional<std::uint8_t> responseCode;
    // Bytes on the line, preambles included, for wire timing.
    std::size_t requestBytes = 0;
    std::size_t answerBytes = 0;
    // The frames themselves, from delimiter to checksum, as the device received and sent them.
    std::vector<std::uint8_t> requestFrame;
    std::vector<std::vector<std::uint8_t>> answerFrames;
};

// The requests received, oldest first; a long-running simulator keeps only the latest ones.
class RequestLog {
public:
    static constexpr std::size_t kCapacity = 4096;

    void add(LoggedRequest entry);
    void clear();
    const std::deque<LoggedRequest>& entries() const;
    // Command numbers of the requests addressed to this device with a good checksum.
    std::vector<std::uint8_t> commands() const;
    // Everything ever received, including entries that no longer fit.
    std::size_t totalCount() const;

private:
    std::deque<LoggedRequest> m_entries;
    std::size_t m_totalCount = 0;
};

}  // namespace sim
