#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "simulator/request.h"

namespace sim {

// Where and how the simulated device listens for HART-IP.
struct HartIpListen {
    std::string address = "127.0.0.1";
    std::uint16_t port = 5094;  // 0: any free port (both transports on the same number)
    // The longest inactivity close timer granted; a client asking for more gets this.
    std::chrono::milliseconds longestInactivity{std::chrono::minutes(10)};
    std::size_t maxSessions = 16;
};

// Serves the device as a HART-IP server on UDP and TCP, on its own thread: every client
// (a UDP address, a TCP connection) gets one session, initiated before anything else and
// kept by any message within its inactivity close timer. Each token-passing PDU is read as
// a request frame on the line and goes to the responder the pseudo-terminal uses; its answer
// goes back without preambles. A request outside a session gets a NAK; a timed-out session
// is forgotten (a TCP connection is closed). Malformed messages are dropped.
class HartIpServer {
public:
    // Called on the server thread for every request frame; returns the bytes to put on the
    // line (preambles included), empty for none.
    using Responder = std::function<std::vector<std::uint8_t>(const Request&)>;

    explicit HartIpServer(Responder responder);
    ~HartIpServer();
    HartIpServer(const HartIpServer&) = delete;
    HartIpServer& operator=(const HartIpServer&) = delete;

    // Binds both transports and starts the thread; false (see error()) when that fails.
    bool start(const HartIpListen& listen);
    void stop();
    bool running() const { return m_running; }
    std::uint16_t port() const { return m_port; }
    const std::string& error() const { return m_error; }

private:
    struct Session;
    struct Connection;

    void serve();

    Responder m_responder;
    HartIpListen m_listen;
    int m_udp = -1;
    int m_tcp = -1;
    int m_stopRead = -1;
    int m_stopWrite = -1;
    std::uint16_t m_port = 0;
    std::string m_error;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

}  // namespace sim
