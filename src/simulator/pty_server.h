#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "simulator/request.h"
#include "simulator/wire_timing.h"

namespace sim {

// What the line does besides carrying the device's answers.
struct LineEffects {
    // The master hears its own bytes back at once, before any answer, as some modems echo.
    bool echo = false;
    // Noise bytes on the line before each answer (never 0xFF, so no master takes them for
    // preambles).
    std::size_t garbageBytes = 0;
};

// Serves one pseudo-terminal on its own thread: reads what the master side receives, cuts it
// into requests and writes back what the responder answers. The slave side is set raw and
// kept open by the server itself, so clients may open and close it at will without the
// master ever seeing a hang-up.
class PtyServer {
public:
    // Called on the server thread for every request frame; returns the bytes to write back.
    using Responder = std::function<std::vector<std::uint8_t>(const Request&)>;

    // A frame that stalls this long in the middle is dropped.
    static constexpr std::chrono::milliseconds kInterCharacterGap{100};
    // Answers nobody reads fill the terminal's buffer; after this long they are discarded.
    static constexpr std::chrono::milliseconds kWriteStall{1000};

    // With pacing, answers leave as a 1200-baud line would deliver them.
    explicit PtyServer(Responder responder, std::optional<WireTiming> pacing = std::nullopt,
                       LineEffects line = {});
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal and starts the thread; false (see error()) when that fails.
    bool start();
    // Stops the thread and closes the pseudo-terminal. Safe to call more than once.
    void stop();
    bool running() const;
    // The slave device clients open, e.g. /dev/pts/7.
    const std::filesystem::path& devicePath() const;
    const std::string& error() const;

private:
    using Clock = std::chrono::steady_clock;

    void serve();
    void answer(const Request& request, Clock::time_point frameStart);
    bool writeAll(const std::vector<std::uint8_t>& bytes);
    bool writePaced(const std::vector<std::uint8_t>& bytes, Clock::time_point firstByteDue);
    // Waits for the stop pipe until the deadline; false when stopping.
    bool waitUntil(Clock::time_point deadline);
    bool waitWritable();
    void closeAll();

    Responder m_responder;
    std::optional<WireTiming> m_pacing;
    LineEffects m_line;
    std::minstd_rand m_noise;
    int m_master = -1;
    int m_slave = -1;
    int m_stopRead = -1;
    int m_stopWrite = -1;
    std::filesystem::path m_devicePath;
    std::string m_error;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

}  // namespace sim
