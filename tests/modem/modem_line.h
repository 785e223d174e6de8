#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "modem/hartmodem.h"

// Helpers for driving libhartmodem against a pseudo-terminal.

HartMessage MessageOf(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> FrameOf(const HartMessage& message);

// Calls hart_read the way the program polls, until it reports anything but "no frame yet"
// or the deadline passes.
std::int32_t ReadFrame(std::uint16_t handle, HartMessage& message,
                       std::chrono::milliseconds deadline = std::chrono::seconds(5));

// A second descriptor on the library's side of the line, to see how many received bytes
// wait there unread.
class LineObserver {
public:
    explicit LineObserver(const std::filesystem::path& slave);
    ~LineObserver();
    LineObserver(const LineObserver&) = delete;
    LineObserver& operator=(const LineObserver&) = delete;

    int pending() const;
    // True once exactly `count` bytes wait unread, false at the deadline.
    bool waitForPending(int count,
                        std::chrono::milliseconds deadline = std::chrono::seconds(5)) const;

private:
    int m_fd = -1;
};
