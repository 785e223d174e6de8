#pragma once

// The desktop's own liveness check, asked from outside the program: a window manager sends a
// top-level window _NET_WM_PING and offers to force-quit the program when the answer does not
// come within a few seconds. The probe does the same over an X connection of its own, from a
// thread of its own, every 50 ms, and records how long each answer took. Only on the xcb
// platform (under Xvfb, for instance); the answer comes when the window's GUI thread handles
// the message.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct PingTimes {
    std::vector<double> answeredMs;  // sorted
    std::size_t unanswered = 0;      // still without an answer when the probe stopped
    double oldestUnansweredMs = 0;
};

class NetWmPingProbe {
public:
    // Connects to the display named by DISPLAY; error() says why when it cannot.
    NetWmPingProbe();
    ~NetWmPingProbe();
    NetWmPingProbe(const NetWmPingProbe&) = delete;
    NetWmPingProbe& operator=(const NetWmPingProbe&) = delete;

    const std::string& error() const { return m_error; }

    // Pings the window every 50 ms until stop().
    void start(std::uint32_t window);
    PingTimes stop();

private:
    struct Connection;
    void run(std::uint32_t window);

    std::unique_ptr<Connection> m_connection;
    std::string m_error;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    PingTimes m_times;
};
