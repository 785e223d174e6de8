#include "hart/hartip_transport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include "hart/frame_codec.h"
#include "hart/link_environment.h"

namespace hart {
namespace {

using hartip::MessageId;
using hartip::MessageType;

// Session initiate statuses that grant the session: success, and the timer set to the
// nearest value the server allows.
constexpr std::uint8_t kStatusSuccess = 0;
constexpr std::uint8_t kStatusSetToNearest = 8;
// A flood is taken in this many messages at a time, so a reader always gets back control.
constexpr int kMessagesPerTake = 64;
constexpr std::size_t kDatagramCapacity = 65535;
constexpr std::chrono::milliseconds kShortestKeepAlive{10};

bool SameHost(const sockaddr_storage& a, const sockaddr_storage& b)
{
    if (a.ss_family != b.ss_family) return false;
    if (a.ss_family == AF_INET)
        return reinterpret_cast<const sockaddr_in&>(a).sin_addr.s_addr ==
               reinterpret_cast<const sockaddr_in&>(b).sin_addr.s_addr;
    if (a.ss_family == AF_INET6)
        return std::memcmp(&reinterpret_cast<const sockaddr_in6&>(a).sin6_addr,
                           &reinterpret_cast<const sockaddr_in6&>(b).sin6_addr,
                           sizeof(in6_addr)) == 0;
    return false;
}

std::uint16_t PortOf(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return 0;
}

bool SameAddress(const sockaddr_storage& a, const sockaddr_storage& b)
{
    return SameHost(a, b) && PortOf(a) == PortOf(b);
}

NetworkIssue IssueOf(hartip::MessageFault fault)
{
    switch (fault) {
    case hartip::MessageFault::ShortHeader: return NetworkIssue::ShortHeader;
    case hartip::MessageFault::WrongVersion: return NetworkIssue::WrongVersion;
    case hartip::MessageFault::WrongByteCount: return NetworkIssue::WrongByteCount;
    case hartip::MessageFault::UnknownType:
    case hartip::MessageFault::UnknownId:
    case hartip::MessageFault::None: break;
    }
    return NetworkIssue::UnknownMessage;
}

int PollMilliseconds(std::chrono::milliseconds wait)
{
    return static_cast<int>(std::clamp<long long>(wait.count(), 0, 60000));
}

}  // namespace

HartIpTransport::HartIpTransport(const TraceTap& trace) : m_trace(trace) {}

HartIpTransport::~HartIpTransport()
{
    EndSession();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_keepAlive.joinable()) m_keepAlive.join();
}

int HartIpTransport::Open(const HartIpEndpoint& endpoint)
{
    std::unique_lock lock(m_mutex);
    const int result = OpenLocked(endpoint);
    if (result == 0 && !m_keepAlive.joinable())
        m_keepAlive = std::thread([this] { KeepAliveLoop(); });
    lock.unlock();
    m_wake.notify_all();
    return result;
}

int HartIpTransport::OpenLocked(const HartIpEndpoint& endpoint)
{
    if (m_session && !m_lost && m_endpoint == endpoint) return 0;
    Drop();
    m_endpoint = endpoint;
    if (!Connect()) return -1;
    if (!Initiate()) {
        Drop();
        return -1;
    }
    return 0;
}

bool HartIpTransport::Connect()
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = m_endpoint->tcp ? SOCK_STREAM : SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(m_endpoint->port);
    if (getaddrinfo(m_endpoint->host.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
        if (m_trace.on())
            m_trace.record(TraceKind::SessionOpenFailed,
                           static_cast<int>(NetworkIssue::HostNotFound), -1, {},
                           m_endpoint->text());
        return false;
    }
    for (addrinfo* candidate = found; candidate && m_socket < 0; candidate = candidate->ai_next) {
        const int fd = ::socket(candidate->ai_family,
                                candidate->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) continue;
        std::memcpy(&m_peer, candidate->ai_addr, candidate->ai_addrlen);
        m_peerLength = candidate->ai_addrlen;
        if (!m_endpoint->tcp) {
            m_socket = fd;
            break;
        }
        bool connected = ::connect(fd, candidate->ai_addr, candidate->ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS) {
            pollfd waiting{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            connected = ::poll(&waiting, 1, PollMilliseconds(kSessionAnswerTime)) == 1 &&
                        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        if (connected) {
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            m_socket = fd;
        } else {
            ::close(fd);
        }
    }
    freeaddrinfo(found);
    if (m_socket < 0 && m_trace.on())
        m_trace.record(TraceKind::SessionOpenFailed, static_cast<int>(NetworkIssue::NotConnected),
                       -1, {}, m_endpoint->text());
    return m_socket >= 0;
}

bool HartIpTransport::Initiate()
{
    const auto body = hartip::InitiateBody(hartip::kPrimaryMaster, kInactivityTimerMs);
    if (!Send(MessageId::SessionInitiate, body) || !AwaitResponse(kSessionAnswerTime)) {
        if (m_trace.on())
            m_trace.record(
                TraceKind::SessionOpenFailed,
                static_cast<int>(m_lost ? NetworkIssue::Refused : NetworkIssue::NoAnswer), -1, {},
                m_endpoint->text());
        return false;
    }
    const hartip::Message answer = hartip::ParseMessage(*m_response);
    const std::uint8_t status = answer.header.status;
    if (status != kStatusSuccess && status != kStatusSetToNearest) {
        if (m_trace.on())
            m_trace.record(TraceKind::SessionOpenFailed, static_cast<int>(NetworkIssue::Refused),
                           -1, {}, std::to_string(status) + ", " + m_endpoint->text());
        return false;
    }
    m_inactivityMs = hartip::InactivityTimer(answer.body).value_or(kInactivityTimerMs);
    m_response.reset();
    m_session = true;
    if (m_trace.on())
        m_trace.record(TraceKind::SessionOpened, static_cast<int>(m_inactivityMs), -1, {},
                       m_endpoint->text());
    return true;
}

void HartIpTransport::Drop()
{
    if (m_socket >= 0) ::close(m_socket);
    m_socket = -1;
    m_session = false;
    m_lost = false;
    m_peerFollowed = false;
    m_awaited.reset();
    m_response.reset();
    m_stream.clear();
}

int HartIpTransport::Close()
{
    std::lock_guard lock(m_mutex);
    m_awaited.reset();
    m_response.reset();
    return 0;
}

void HartIpTransport::EndSession()
{
    std::lock_guard lock(m_mutex);
    if (m_session && !m_lost && Send(MessageId::SessionClose, {})) {
        // The session ends either way; a server gone meanwhile must not hold up the program.
        AwaitResponse(kSessionAnswerTime / 4);
        if (m_trace.on()) m_trace.record(TraceKind::SessionClosed, 0, -1, {}, m_endpoint->text());
    }
    Drop();
}

bool HartIpTransport::sessionUp() const
{
    std::lock_guard lock(m_mutex);
    return m_session && !m_lost;
}

bool HartIpTransport::Send(MessageId id, std::span<const std::uint8_t> body)
{
    const std::uint16_t sequence = ++m_sequence;
    const auto bytes = hartip::Encode(MessageType::Request, id, 0, sequence, body);
    m_awaited = sequence;
    m_awaitedId = id;
    m_response.reset();
    m_lastSent = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written =
            m_endpoint->tcp
                ? ::send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL)
                : ::sendto(m_socket, bytes.data(), bytes.size(), 0,
                           reinterpret_cast<const sockaddr*>(&m_peer), m_peerLength);
        if (written < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd waiting{m_socket, POLLOUT, 0};
            if (::poll(&waiting, 1, PollMilliseconds(kSessionAnswerTime)) == 1) continue;
        }
        if (written <= 0) {
            Lose(NetworkIssue::ConnectionClosed);
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

bool HartIpTransport::Readable(std::chrono::milliseconds longest)
{
    if (m_socket < 0) return false;
    if (auto length = hartip::StreamMessageLength(m_stream); length && m_stream.size() >= *length)
        return true;
    pollfd waiting{m_socket, POLLIN, 0};
    return ::poll(&waiting, 1, PollMilliseconds(longest)) == 1;
}

std::optional<std::vector<std::uint8_t>> HartIpTransport::Receive()
{
    if (m_socket < 0) return std::nullopt;
    if (!m_endpoint->tcp) {
        // One receive buffer a thread, allocated once; the datagram is copied out of it.
        thread_local std::vector<std::uint8_t> buffer(kDatagramCapacity);
        sockaddr_storage source{};
        socklen_t sourceLength = sizeof source;
        const ssize_t received =
            ::recvfrom(m_socket, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC,
                       reinterpret_cast<sockaddr*>(&source), &sourceLength);
        if (received < 0) return std::nullopt;
        std::vector<std::uint8_t> datagram(
            buffer.begin(), buffer.begin() + std::min<std::ptrdiff_t>(received, kDatagramCapacity));
        // Some servers answer the initiate from another port than the one it went to: the
        // session follows the address that answered, and hears only that one from then on.
        if (!m_peerFollowed && m_awaitedId == MessageId::SessionInitiate &&
            SameHost(source, m_peer)) {
            m_peer = source;
            m_peerLength = sourceLength;
            m_peerFollowed = true;
        } else if (!SameAddress(source, m_peer)) {
            Dropped(NetworkIssue::OtherAddress, std::to_string(PortOf(source)));
            return std::vector<std::uint8_t>{};
        }
        return datagram;
    }

    auto length = hartip::StreamMessageLength(m_stream);
    if (!length || m_stream.size() < *length) {
        std::uint8_t chunk[4096];
        const ssize_t received = ::recv(m_socket, chunk, sizeof chunk, MSG_DONTWAIT);
        if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR)) {
            Lose(NetworkIssue::ConnectionClosed);
            return std::nullopt;
        }
        if (received < 0) return std::nullopt;
        m_stream.insert(m_stream.end(), chunk, chunk + received);
        length = hartip::StreamMessageLength(m_stream);
    }
    if (!length || m_stream.size() < *length) return std::vector<std::uint8_t>{};
    if (*length == 0) {
        // A count below the header: where the next message starts cannot be known.
        Dropped(NetworkIssue::WrongByteCount, std::to_string(m_stream.size()));
        Lose(NetworkIssue::WrongByteCount);
        return std::nullopt;
    }
    std::vector<std::uint8_t> message(m_stream.begin(),
                                      m_stream.begin() + static_cast<std::ptrdiff_t>(*length));
    m_stream.erase(m_stream.begin(), m_stream.begin() + static_cast<std::ptrdiff_t>(*length));
    return message;
}

void HartIpTransport::Take()
{
    // Up to the awaited response: what follows it (a server closing the connection after
    // answering a session close) is for the next look.
    for (int taken = 0; taken < kMessagesPerTake && !m_lost && !m_response; ++taken) {
        auto bytes = Receive();
        if (!bytes) return;
        if (!bytes->empty()) Handle(*bytes);
    }
}

void HartIpTransport::Handle(std::span<const std::uint8_t> bytes)
{
    const hartip::Message message = hartip::ParseMessage(bytes);
    if (message.fault != hartip::MessageFault::None) {
        Dropped(IssueOf(message.fault), std::to_string(bytes.size()));
        return;
    }
    const hartip::Header& header = message.header;
    const bool awaited = m_awaited && header.sequence == *m_awaited;
    const std::string status = std::to_string(header.status);
    switch (header.type) {
    case MessageType::Nak:
    case MessageType::Error:
        if (!awaited) return Dropped(NetworkIssue::OtherSequence, std::to_string(header.sequence));
        return Lose(header.type == MessageType::Nak ? NetworkIssue::Nak
                                                    : NetworkIssue::ErrorMessage,
                    status);
    case MessageType::Response:
        if (!awaited || header.id != m_awaitedId)
            return Dropped(NetworkIssue::OtherSequence, std::to_string(header.sequence));
        if (header.id == MessageId::Pdu && message.body.size() > kFrameCapacity)
            return Dropped(NetworkIssue::TooLong, std::to_string(message.body.size()));
        m_awaited.reset();
        m_response.emplace(bytes.begin(), bytes.end());
        return;
    case MessageType::Request:
        // The server ends the session.
        if (header.id == MessageId::SessionClose) return Lose(NetworkIssue::ConnectionClosed);
        break;
    case MessageType::Publish: break;
    }
    Dropped(NetworkIssue::Unexpected, std::to_string(static_cast<int>(header.id)));
}

bool HartIpTransport::AwaitResponse(std::chrono::milliseconds longest)
{
    const auto deadline = Clock::now() + longest;
    for (;;) {
        Take();
        if (m_response) return true;
        if (m_lost) return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        Readable(left);
    }
}

void HartIpTransport::Lose(NetworkIssue issue, std::string detail)
{
    if (m_lost) return;
    m_lost = true;
    m_awaited.reset();
    if (m_trace.on())
        m_trace.record(TraceKind::SessionLost, static_cast<int>(issue), -1, {}, std::move(detail));
}

void HartIpTransport::Dropped(NetworkIssue issue, std::string detail)
{
    if (m_trace.on())
        m_trace.record(TraceKind::MessageDropped, static_cast<int>(issue), -1, {},
                       std::move(detail));
}

void HartIpTransport::SetTxFrame(const std::uint8_t* bytes, int count)
{
    std::lock_guard lock(m_mutex);
    int start = 0;
    while (start < count && bytes[start] == kPreamble) ++start;  // no preambles on the network
    m_txFrame.assign(bytes + start, bytes + std::max(start, count));
}

int HartIpTransport::Write()
{
    std::unique_lock lock(m_mutex);
    // A session lost in an earlier attempt of this transaction: the retry starts a new one.
    if ((!m_session || m_lost) && m_endpoint && OpenLocked(*m_endpoint) != 0) {
        if (m_trace.on()) m_trace.record(TraceKind::WriteFailed, -1);
        return -1;
    }
    if (!Send(MessageId::Pdu, m_txFrame)) {
        if (m_trace.on()) m_trace.record(TraceKind::WriteFailed, -1);
        return -1;
    }
    if (m_trace.on()) m_trace.record(TraceKind::Request, 0, -1, m_txFrame);
    lock.unlock();
    m_wake.notify_all();
    return 0;
}

void HartIpTransport::WaitForInput(Sleeper&, std::chrono::milliseconds longest)
{
    std::lock_guard lock(m_mutex);
    if (m_response || m_lost) return;
    Readable(longest);
}

int HartIpTransport::Read(std::uint8_t* dest)
{
    std::lock_guard lock(m_mutex);
    Take();
    if (!m_response) return 0;
    const auto body = hartip::ParseMessage(*m_response).body;
    std::memset(dest, 0, kFrameCapacity);
    std::copy(body.begin(), body.end(), dest);
    if (m_trace.on()) m_trace.record(TraceKind::Answer, 0, -1, body);
    const int length = static_cast<int>(body.size());
    m_response.reset();
    return length;
}

void HartIpTransport::FlushInput()
{
    std::lock_guard lock(m_mutex);
    Take();
    m_response.reset();
}

bool HartIpTransport::DeviceLost() const
{
    std::lock_guard lock(m_mutex);
    return m_lost;
}

bool HartIpTransport::Receiving() const
{
    // Over TCP part of a message may be in; over UDP a message arrives whole or not at all.
    std::lock_guard lock(m_mutex);
    return !m_stream.empty();
}

void HartIpTransport::KeepAliveLoop()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_session || m_lost) {
            m_wake.wait(lock);
            continue;
        }
        // A third of the timer: two keep-alives may go astray before the server gives up.
        const auto interval =
            std::max(std::chrono::milliseconds(m_inactivityMs / 3), kShortestKeepAlive);
        const auto due = m_lastSent + interval;
        if (Clock::now() < due || m_awaited) {
            m_wake.wait_until(lock, m_awaited ? Clock::now() + interval : due);
            continue;
        }
        if (!Send(MessageId::KeepAlive, {})) continue;
        if (m_trace.on()) m_trace.record(TraceKind::KeepAlive, m_sequence);
        if (AwaitResponse(kSessionAnswerTime))
            m_response.reset();
        else
            Lose(NetworkIssue::NoAnswer);
    }
}

}  // namespace hart
