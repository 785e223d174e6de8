#pragma once

// The test's side of a pseudo-terminal: plain POSIX I/O, as any client of COM<n> would do.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "simulator/hart_test_frames.h"

namespace simtest {

// A private port map folder, set as TARVEL4410_PORTS_DIR while the object lives.
class TempPortMap {
public:
    TempPortMap();
    ~TempPortMap();
    TempPortMap(const TempPortMap&) = delete;
    TempPortMap& operator=(const TempPortMap&) = delete;
    const std::filesystem::path& dir() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};

class PtyClient {
public:
    explicit PtyClient(const std::filesystem::path& device);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void send(const Bytes& bytes);
    // Reads until `frames` complete frames have arrived, or the time is up.
    Bytes receive(std::size_t frames, std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Reads until `count` bytes have arrived, or the time is up.
    Bytes receiveBytes(std::size_t count,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    Bytes receiveUntil(const std::function<bool(const Bytes&)>& done,
                       std::chrono::milliseconds timeout);

    int m_fd = -1;
};

// How many complete frames the bytes hold, counting from the first.
std::size_t CompleteFrames(const Bytes& bytes);

}  // namespace simtest
