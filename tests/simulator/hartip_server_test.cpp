// The simulator's HART-IP server through its sockets, as any client sees it: sessions
// before anything else, one per client, kept by messages and ended by close or time-out.
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "simulator/simulator_host.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kResponse = 1;
constexpr std::uint8_t kNak = 15;
constexpr std::uint8_t kInitiate = 0, kClose = 1, kKeepAlive = 2, kPdu = 3;
// Command 0 to polling address 0, from a primary master.
const Bytes kCommandZero{0x02, 0x80, 0x00, 0x00, 0x82};

Bytes Message(std::uint8_t id, std::uint16_t sequence, const Bytes& body = {})
{
    Bytes bytes = body;
    const auto count = static_cast<std::uint8_t>(8 + body.size());
    const std::uint8_t header[] = {1,
                                   0,
                                   id,
                                   0,
                                   static_cast<std::uint8_t>(sequence >> 8),
                                   static_cast<std::uint8_t>(sequence),
                                   0,
                                   count};
    bytes.insert(bytes.begin(), std::begin(header), std::end(header));
    return bytes;
}

Bytes Initiate(std::uint16_t sequence, std::uint32_t timerMs)
{
    return Message(kInitiate, sequence,
                   {1, static_cast<std::uint8_t>(timerMs >> 24),
                    static_cast<std::uint8_t>(timerMs >> 16),
                    static_cast<std::uint8_t>(timerMs >> 8), static_cast<std::uint8_t>(timerMs)});
}

// One client, UDP or TCP; reply() is the next whole message, empty after a second without
// one or when the server closed the connection.
class Client {
public:
    Client(std::uint16_t port, bool tcp) : m_tcp(tcp)
    {
        m_fd = ::socket(AF_INET, (tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ~Client() { ::close(m_fd); }

    Bytes exchange(const Bytes& message)
    {
        EXPECT_EQ(::send(m_fd, message.data(), message.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(message.size()));
        return reply();
    }
    Bytes reply()
    {
        Bytes buffer;
        for (;;) {
            if (buffer.size() >= 8 &&
                buffer.size() >= static_cast<std::size_t>(buffer[6] << 8 | buffer[7]))
                return buffer;
            pollfd waiting{m_fd, POLLIN, 0};
            if (::poll(&waiting, 1, 1000) != 1) return {};
            std::uint8_t chunk[2048];
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (got <= 0) return {};
            buffer.insert(buffer.end(), chunk, chunk + got);
            if (!m_tcp) return buffer;
        }
    }
    // The server closed the connection (TCP).
    bool closedByServer()
    {
        pollfd waiting{m_fd, POLLIN, 0};
        std::uint8_t byte;
        return ::poll(&waiting, 1, 1000) == 1 && ::recv(m_fd, &byte, 1, 0) == 0;
    }

private:
    int m_fd = -1;
    bool m_tcp;
};

std::uint8_t TypeOf(const Bytes& reply) { return reply.size() >= 8 ? reply[1] : 0xFF; }
std::uint8_t StatusOf(const Bytes& reply) { return reply.size() >= 8 ? reply[3] : 0xFF; }
std::uint16_t SequenceOf(const Bytes& reply)
{
    return reply.size() >= 8 ? static_cast<std::uint16_t>(reply[4] << 8 | reply[5]) : 0;
}

class HartIpServer : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        const auto started =
            host.startHartIp({.address = "127.0.0.1", .port = 0, .longestInactivity = 200ms});
        ASSERT_TRUE(started) << host.error();
        port = *started;
    }
    sim::SimulatorHost host;
    std::uint16_t port = 0;
};

TEST_P(HartIpServer, AnswersPdusOnlyInsideTheSession)
{
    Client client(port, GetParam());
    const Bytes early = client.exchange(Message(kPdu, 1, kCommandZero));
    EXPECT_EQ(TypeOf(early), kNak);
    EXPECT_EQ(SequenceOf(early), 1);

    const Bytes granted = client.exchange(Initiate(2, 100));
    EXPECT_EQ(TypeOf(granted), kResponse);
    EXPECT_EQ(StatusOf(granted), 0);
    EXPECT_EQ(Bytes(granted.begin() + 8, granted.end()), (Bytes{1, 0, 0, 0, 100}));
    const Bytes lowered = client.exchange(Initiate(3, 60000));
    EXPECT_EQ(StatusOf(lowered), 8);  // set to the nearest the server allows
    EXPECT_EQ(Bytes(lowered.begin() + 9, lowered.end()), (Bytes{0, 0, 0, 200}));

    const Bytes answer = client.exchange(Message(kPdu, 4, kCommandZero));
    EXPECT_EQ(TypeOf(answer), kResponse);
    EXPECT_EQ(SequenceOf(answer), 4);
    ASSERT_GT(answer.size(), 12u);
    EXPECT_EQ(answer[8], 0x06);   // the device's answer from its delimiter, no preambles
    EXPECT_EQ(answer[10], 0x00);  // to command 0
    EXPECT_EQ(host.commands(), Bytes{0});

    // Keep-alives hold the session past its timer.
    for (std::uint16_t sequence = 5; sequence < 10; ++sequence) {
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(TypeOf(client.exchange(Message(kKeepAlive, sequence))), kResponse);
    }
    EXPECT_EQ(TypeOf(client.exchange(Message(kPdu, 10, kCommandZero))), kResponse);

    EXPECT_EQ(TypeOf(client.exchange(Message(kClose, 11))), kResponse);
    if (GetParam())
        EXPECT_TRUE(client.closedByServer());
    else
        EXPECT_EQ(TypeOf(client.exchange(Message(kPdu, 12, kCommandZero))), kNak);
}

TEST_P(HartIpServer, ForgetsASessionPastItsTimer)
{
    Client client(port, GetParam());
    ASSERT_EQ(StatusOf(client.exchange(Initiate(1, 100))), 0);
    std::this_thread::sleep_for(300ms);
    if (GetParam())
        EXPECT_TRUE(client.closedByServer());
    else
        EXPECT_EQ(TypeOf(client.exchange(Message(kPdu, 2, kCommandZero))), kNak);
    EXPECT_TRUE(host.commands().empty());
}

TEST_P(HartIpServer, GivesEachClientItsOwnSessionAndDropsMalformedMessages)
{
    Client first(port, GetParam());
    Client second(port, GetParam());
    ASSERT_EQ(StatusOf(first.exchange(Initiate(1, 100))), 0);
    EXPECT_EQ(TypeOf(second.exchange(Message(kPdu, 1, kCommandZero))), kNak);
    EXPECT_EQ(TypeOf(first.exchange(Message(kPdu, 2, kCommandZero))), kResponse);
    EXPECT_EQ(host.commands(), Bytes{0});
    if (!GetParam()) {
        // A datagram is one message: one shorter than its header or its count says, or of
        // another version, gets nothing back, not even a NAK.
        Bytes wrongVersion = Message(kPdu, 3, kCommandZero);
        wrongVersion[0] = 2;
        Bytes wrongCount = Message(kPdu, 4, kCommandZero);
        wrongCount[7] = 20;
        for (const Bytes& bad : {Bytes{1, 0, 3}, wrongVersion, wrongCount})
            EXPECT_TRUE(first.exchange(bad).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(UdpAndTcp, HartIpServer, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tcp" : "Udp"; });

}  // namespace
