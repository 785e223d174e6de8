#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <sys/socket.h>
#include <thread>
#include <vector>

#include "hart/frame_transport.h"
#include "hart/hartip_endpoint.h"
#include "hart/hartip_message.h"
#include "hart/trace.h"

namespace hart {

// A HART-IP client session over UDP or TCP carrying the engine's frames as token-passing
// PDUs. The session is initiated on the first opening and stays up between transactions:
// a thread sends keep-alives while the link is idle, well within the inactivity close timer
// the server granted. A NAK, an error message, a closed connection or a server that stops
// answering ends it; the next opening initiates a new one. Anything the network brings that
// is not the awaited response is dropped with a trace event.
class HartIpTransport final : public FrameTransport {
public:
    // The inactivity close timer asked for; the server may grant less.
    static constexpr std::uint32_t kInactivityTimerMs = 30000;
    // How long a session message (initiate, keep-alive, close) waits for its response.
    static constexpr std::chrono::milliseconds kSessionAnswerTime{2000};

    explicit HartIpTransport(const TraceTap& trace);
    ~HartIpTransport() override;  // closes the session
    HartIpTransport(const HartIpTransport&) = delete;
    HartIpTransport& operator=(const HartIpTransport&) = delete;

    // 0 with a session to the endpoint (the one up, or a new one), else -1.
    int Open(const HartIpEndpoint& endpoint);
    // The engine's closing after a transaction: the session stays for the next one.
    int Close() override;
    // Sends session close and drops the connection.
    void EndSession();
    bool sessionUp() const;

    void SetTxFrame(const std::uint8_t* bytes, int count) override;
    int Write() override;
    void WaitForInput(Sleeper& sleeper, std::chrono::milliseconds longest) override;
    int Read(std::uint8_t* dest) override;
    void FlushInput() override;
    bool DeviceLost() const override;
    bool Receiving() const override;

private:
    using Clock = std::chrono::steady_clock;

    int OpenLocked(const HartIpEndpoint& endpoint);
    bool Connect();
    bool Initiate();
    void Drop();
    bool Send(hartip::MessageId id, std::span<const std::uint8_t> body);
    // Waits up to `longest` for data on the socket; true when some is there.
    bool Readable(std::chrono::milliseconds longest);
    // The next message the socket holds, checked; nullopt when none is waiting.
    std::optional<std::vector<std::uint8_t>> Receive();
    // Takes in what has arrived; the response to the awaited message lands in m_response.
    void Take();
    void Handle(std::span<const std::uint8_t> bytes);
    // Waits until the awaited response arrives or the session fails; true when it came.
    bool AwaitResponse(std::chrono::milliseconds longest);
    void Lose(NetworkIssue issue, std::string detail = {});
    void Dropped(NetworkIssue issue, std::string detail = {});
    void KeepAliveLoop();

    const TraceTap& m_trace;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_keepAlive;
    bool m_stopping = false;

    std::optional<HartIpEndpoint> m_endpoint;
    int m_socket = -1;
    sockaddr_storage m_peer{};
    socklen_t m_peerLength = 0;
    bool m_peerFollowed = false;  // over UDP: the address that answered the initiate
    bool m_session = false;
    bool m_lost = false;
    std::uint32_t m_inactivityMs = kInactivityTimerMs;
    std::uint16_t m_sequence = 0;
    std::optional<std::uint16_t> m_awaited;
    hartip::MessageId m_awaitedId = hartip::MessageId::Pdu;
    std::optional<std::vector<std::uint8_t>> m_response;
    std::vector<std::uint8_t> m_stream;  // TCP bytes not yet cut into messages
    std::vector<std::uint8_t> m_txFrame;
    Clock::time_point m_lastSent{};
};

}  // namespace hart
