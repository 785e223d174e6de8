#include "simulator/hartip_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <span>
#include <sys/socket.h>
#include <unistd.h>

#include "simulator/request_parser.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// The message header: version, type, id, status, sequence number (2), byte count (2).
constexpr std::size_t kHeaderLength = 8;
constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kTypeRequest = 0;
constexpr std::uint8_t kTypeResponse = 1;
constexpr std::uint8_t kTypeError = 3;
constexpr std::uint8_t kTypeNak = 15;
constexpr std::uint8_t kIdInitiate = 0;
constexpr std::uint8_t kIdClose = 1;
constexpr std::uint8_t kIdKeepAlive = 2;
constexpr std::uint8_t kIdPdu = 3;
// Statuses of a session initiate response.
constexpr std::uint8_t kStatusTooFewBytes = 5;
constexpr std::uint8_t kStatusSetToNearest = 8;
constexpr std::uint8_t kStatusAllSessionsInUse = 15;
// An error message's status for a message id the server does not know.
constexpr std::uint8_t kStatusUnknownMessage = 64;
constexpr std::size_t kInitiateLength = 5;  // master type, inactivity close timer
constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::size_t kLargestMessage = 0xFFFF;
constexpr int kBacklog = 8;

Bytes Message(std::uint8_t type, std::uint8_t id, std::uint8_t status, std::uint16_t sequence,
              std::span<const std::uint8_t> body = {})
{
    // The reply in one piece: its header, then the body.
    const std::size_t count = kHeaderLength + body.size();
    Bytes bytes(count);
    const std::uint8_t header[kHeaderLength] = {kVersion,
                                                type,
                                                id,
                                                status,
                                                static_cast<std::uint8_t>(sequence >> 8),
                                                static_cast<std::uint8_t>(sequence & 0xFF),
                                                static_cast<std::uint8_t>(count >> 8),
                                                static_cast<std::uint8_t>(count & 0xFF)};
    std::copy(std::begin(header), std::end(header), bytes.begin());
    std::copy(body.begin(), body.end(), bytes.begin() + kHeaderLength);
    return bytes;
}

std::size_t CountOf(std::span<const std::uint8_t> header)
{
    return static_cast<std::size_t>(header[6] << 8 | header[7]);
}

// The PDU as a request frame on the line: two preambles, then the frame.
std::optional<Request> RequestOf(std::span<const std::uint8_t> frame)
{
    RequestParser parser;
    parser.push(kPreamble);
    parser.push(kPreamble);
    for (std::uint8_t byte : frame)
        if (auto request = parser.push(byte)) return request;
    return std::nullopt;
}

std::string Key(const sockaddr_storage& address, socklen_t length)
{
    return std::string(reinterpret_cast<const char*>(&address), length);
}

}  // namespace

struct HartIpServer::Session {
    bool active = false;
    std::chrono::milliseconds timer{0};
    Clock::time_point last{};

    bool expired(Clock::time_point now) const { return active && now - last >= timer; }
};

struct HartIpServer::Connection {
    int fd = -1;
    Bytes stream;
    Session session;
    bool closing = false;
};

HartIpServer::HartIpServer(Responder responder) : m_responder(std::move(responder)) {}

HartIpServer::~HartIpServer() { stop(); }

bool HartIpServer::start(const HartIpListen& listen)
{
    if (m_running) return true;
    m_listen = listen;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(listen.port);
    if (inet_pton(AF_INET, listen.address.c_str(), &address.sin_addr) != 1) {
        m_error = "not an IPv4 address: " + listen.address;
        return false;
    }
    auto fail = [this](const std::string& what) {
        m_error = what + ": " + std::strerror(errno);
        for (int* fd : {&m_udp, &m_tcp, &m_stopRead, &m_stopWrite}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
        return false;
    };
    m_tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    if (m_tcp < 0) return fail("TCP socket");
    setsockopt(m_tcp, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(m_tcp, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return fail("TCP port " + std::to_string(listen.port));
    socklen_t length = sizeof address;
    getsockname(m_tcp, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    if (::listen(m_tcp, kBacklog) != 0) return fail("TCP listen");
    m_udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_udp < 0 || ::bind(m_udp, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return fail("UDP port " + std::to_string(m_port));
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return fail("pipe");
    m_stopRead = pipeEnds[0];
    m_stopWrite = pipeEnds[1];
    m_running = true;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void HartIpServer::stop()
{
    if (m_thread.joinable()) {
        const char stop = 's';
        [[maybe_unused]] const ssize_t written = ::write(m_stopWrite, &stop, 1);
        m_thread.join();
    }
    for (int* fd : {&m_udp, &m_tcp, &m_stopRead, &m_stopWrite}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    m_running = false;
}

void HartIpServer::serve()
{
    std::map<std::string, Session> udpSessions;
    std::vector<Connection> connections;

    // One message of a client; the reply (empty for none). A session close also ends a
    // TCP connection.
    auto handle = [this](std::span<const std::uint8_t> bytes, Session& session,
                         std::size_t sessionsInUse, bool& closing) -> Bytes {
        if (bytes.size() < kHeaderLength || bytes[0] != kVersion ||
            CountOf(bytes) != bytes.size() || bytes[1] != kTypeRequest)
            return {};
        const std::uint8_t id = bytes[2];
        const auto sequence = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
        const auto body = bytes.subspan(kHeaderLength);
        const auto now = Clock::now();
        if (id == kIdInitiate) {
            if (body.size() < kInitiateLength)
                return Message(kTypeResponse, id, kStatusTooFewBytes, sequence);
            if (!session.active && sessionsInUse >= m_listen.maxSessions)
                return Message(kTypeResponse, id, kStatusAllSessionsInUse, sequence);
            const std::chrono::milliseconds asked(static_cast<std::uint32_t>(body[1]) << 24 |
                                                  static_cast<std::uint32_t>(body[2]) << 16 |
                                                  static_cast<std::uint32_t>(body[3]) << 8 |
                                                  body[4]);
            session.timer = std::min(asked, m_listen.longestInactivity);
            session.active = true;
            session.last = now;
            const auto granted = static_cast<std::uint32_t>(session.timer.count());
            const std::uint8_t answer[kInitiateLength] = {
                body[0], static_cast<std::uint8_t>(granted >> 24),
                static_cast<std::uint8_t>(granted >> 16), static_cast<std::uint8_t>(granted >> 8),
                static_cast<std::uint8_t>(granted)};
            return Message(kTypeResponse, id, asked == session.timer ? 0 : kStatusSetToNearest,
                           sequence, answer);
        }
        if (!session.active) return Message(kTypeNak, id, 0, sequence);
        session.last = now;
        switch (id) {
        case kIdClose:
            session.active = false;
            closing = true;
            return Message(kTypeResponse, id, 0, sequence);
        case kIdKeepAlive: return Message(kTypeResponse, id, 0, sequence);
        case kIdPdu: {
            const auto request = RequestOf(body);
            if (!request) return {};
            Bytes answer = m_responder(*request);
            const auto start = std::find_if(answer.begin(), answer.end(),
                                            [](std::uint8_t byte) { return byte != kPreamble; });
            if (start == answer.end()) return {};  // the device stays silent
            return Message(kTypeResponse, id, 0, sequence,
                           std::span(&*start, answer.end() - start));
        }
        default: return Message(kTypeError, id, kStatusUnknownMessage, sequence);
        }
    };

    Bytes datagram(kLargestMessage);
    for (;;) {
        const auto now = Clock::now();
        // Sessions past their inactivity close timer end: a UDP client is forgotten, a TCP
        // connection closed.
        std::erase_if(udpSessions, [now](const auto& entry) {
            return !entry.second.active || entry.second.expired(now);
        });
        std::erase_if(connections, [now](const Connection& connection) {
            // Before its session is initiated, a connection has the longest timer to do so.
            const bool end =
                connection.closing || now - connection.session.last >= connection.session.timer;
            if (end) ::close(connection.fd);
            return end;
        });
        auto nextExpiry = now + std::chrono::seconds(1);
        for (const auto& [key, session] : udpSessions)
            nextExpiry = std::min(nextExpiry, session.last + session.timer);
        for (const auto& connection : connections)
            nextExpiry = std::min(nextExpiry, connection.session.last + connection.session.timer);

        std::vector<pollfd> fds{{m_stopRead, POLLIN, 0}, {m_udp, POLLIN, 0}, {m_tcp, POLLIN, 0}};
        for (const auto& connection : connections) fds.push_back({connection.fd, POLLIN, 0});
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextExpiry - now);
        if (::poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(wait.count(), 0))) <
                0 &&
            errno != EINTR)
            break;
        if (fds[0].revents != 0) break;

        if (fds[1].revents & POLLIN) {
            for (;;) {
                sockaddr_storage source{};
                socklen_t sourceLength = sizeof source;
                const ssize_t received =
                    ::recvfrom(m_udp, datagram.data(), datagram.size(), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&source), &sourceLength);
                if (received < 0) break;
                const std::string key = Key(source, sourceLength);
                Session session = udpSessions.count(key) ? udpSessions[key] : Session{};
                const std::size_t inUse = udpSessions.size() + connections.size();
                bool closing = false;
                const Bytes reply =
                    handle(std::span(datagram.data(), static_cast<std::size_t>(received)), session,
                           inUse, closing);
                if (session.active)
                    udpSessions[key] = session;
                else
                    udpSessions.erase(key);
                if (!reply.empty())
                    ::sendto(m_udp, reply.data(), reply.size(), 0,
                             reinterpret_cast<const sockaddr*>(&source), sourceLength);
            }
        }
        if (fds[2].revents & POLLIN) {
            for (int fd;
                 (fd = ::accept4(m_tcp, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
                const int on = 1;
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                Connection connection;
                connection.fd = fd;
                connection.session.timer = m_listen.longestInactivity;
                connection.session.last = Clock::now();
                connections.push_back(std::move(connection));
            }
        }
        const std::size_t polledConnections = fds.size() - 3;
        for (std::size_t i = 0; i < polledConnections; ++i) {
            if (fds[i + 3].revents == 0) continue;
            Connection& connection = connections[i];
            std::uint8_t chunk[4096];
            const ssize_t received = ::recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (received <= 0) {
                if (received == 0 || (errno != EAGAIN && errno != EINTR)) connection.closing = true;
                continue;
            }
            connection.stream.insert(connection.stream.end(), chunk, chunk + received);
            while (!connection.closing && connection.stream.size() >= kHeaderLength) {
                const std::size_t count = CountOf(connection.stream);
                if (count < kHeaderLength) {
                    connection.closing = true;  // the stream cannot be followed any more
                    break;
                }
                if (connection.stream.size() < count) break;
                const std::size_t inUse = udpSessions.size() + connections.size() - 1;
                const Bytes reply = handle(std::span(connection.stream.data(), count),
                                           connection.session, inUse, connection.closing);
                connection.stream.erase(connection.stream.begin(),
                                        connection.stream.begin() +
                                            static_cast<std::ptrdiff_t>(count));
                if (!reply.empty() &&
                    ::send(connection.fd, reply.data(), reply.size(), MSG_NOSIGNAL) < 0)
                    connection.closing = true;
            }
        }
    }
    for (const auto& connection : connections) ::close(connection.fd);
}

}  // namespace sim
