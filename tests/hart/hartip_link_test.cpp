// The transmitter's operations over HART-IP: to the simulated transmitter's server, and to a
// scripted server that misbehaves as networks and servers do.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "hart/fixed_hartip_settings.h"
#include "hart/hartip_message.h"
#include "simulator/device.h"
#include "simulator/request_parser.h"
#include "simulator/simulator_host.h"
#include "support/fake_sleeper.h"
#include "support/scripted_user.h"
#include "transmitter/transmitter.h"

namespace {

using namespace std::chrono_literals;
using hart::NetworkIssue;
using hart::TraceKind;
using Bytes = std::vector<std::uint8_t>;

constexpr int kCannotOpenSession = 926;

class EventLog final : public hart::TraceSink {
public:
    void record(const hart::TraceEvent& event) override
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
    }
    std::vector<hart::TraceEvent> events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    int count(TraceKind kind) const
    {
        const auto all = events();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [kind](const auto& e) { return e.kind == kind; }));
    }
    std::vector<NetworkIssue> issues(TraceKind kind) const
    {
        std::vector<NetworkIssue> found;
        for (const auto& e : events())
            if (e.kind == kind) found.push_back(static_cast<NetworkIssue>(e.value));
        return found;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<hart::TraceEvent> m_events;
};

sim::SimulatorSetup SteadySetup()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    return setup;
}

// The identification and every read group, each answered in full.
bool ReadsAll(transmitter::CTransmitter& xmtr)
{
    using transmitter::CTransmitter;
    bool ok = xmtr.Identify() == 1;
    for (auto read :
         {&CTransmitter::ReadTagAndSensor, &CTransmitter::ReadRangeAndLimits,
          &CTransmitter::ReadFilterAndAssemblyNumber, &CTransmitter::ReadAlarmLevelsAndVariables,
          &CTransmitter::ReadFailureStatus, &CTransmitter::ReadThermometerParams})
        ok = (xmtr.*read)() == 1 && ok;
    return ok;
}

// A transmitter reached through an endpoint, on the fake clock, its trace recorded until
// it ends (its session's close included).
struct Link {
    explicit Link(hart::HartIpEndpoint endpoint) : settings(std::move(endpoint))
    {
        xmtr.emplace(user, settings, sleeper);
        xmtr->attachTrace(&log);
    }
    void end() { xmtr.reset(); }

    ScriptedUser user;
    FakeSleeper sleeper;
    EventLog log;
    hart::FixedHartIpSettings settings;
    std::optional<transmitter::CTransmitter> xmtr;
};

TEST(HartIpLink, ReadsTheWholeConfigurationInOneSessionOverUdpAndTcp)
{
    for (const bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "UDP");
        sim::SimulatorHost host(SteadySetup());
        const auto port = host.startHartIp({.address = "127.0.0.1", .port = 0});
        ASSERT_TRUE(port) << host.error();
        Link link({"127.0.0.1", *port, tcp});
        EXPECT_TRUE(ReadsAll(*link.xmtr));
        link.end();
        EXPECT_TRUE(link.user.messages.empty());
        EXPECT_EQ(link.log.count(TraceKind::SessionOpened), 1);
        EXPECT_EQ(link.log.events().back().kind, TraceKind::SessionClosed);
        // The frames as on a serial line, from the delimiter on, one answer for each request.
        const auto requests = link.log.count(TraceKind::Request);
        EXPECT_EQ(requests, link.log.count(TraceKind::Answer));
        EXPECT_EQ(static_cast<std::size_t>(requests), host.commands().size());
        for (const auto& e : link.log.events()) {
            if (e.kind == TraceKind::Request) {
                EXPECT_TRUE(e.frame[0] == 0x02 || e.frame[0] == 0x82);
            }
        }
    }
}

TEST(HartIpLink, KeepAlivesHoldAnIdleSessionWithinTheServersTimer)
{
    sim::SimulatorHost host(SteadySetup());
    const auto port =
        host.startHartIp({.address = "127.0.0.1", .port = 0, .longestInactivity = 150ms});
    ASSERT_TRUE(port) << host.error();
    Link link({"127.0.0.1", *port, true});
    ASSERT_EQ(link.xmtr->Identify(), 1);
    std::this_thread::sleep_for(600ms);  // four timers long
    EXPECT_EQ(link.xmtr->Identify(), 1);
    EXPECT_GE(link.log.count(TraceKind::KeepAlive), 4);
    EXPECT_EQ(link.log.count(TraceKind::SessionOpened), 1);
    EXPECT_EQ(link.log.count(TraceKind::SessionLost), 0);
}

// A UDP server on loopback that answers the session messages and hands each PDU to a
// script, which sends what it likes through the server's socket (or another one).
class ScriptedServer {
public:
    using Script =
        std::function<void(ScriptedServer&, const Bytes& request, const sockaddr_in& from)>;

    // answerFromOtherPort: every answer, the session initiate's included, leaves from a
    // second socket, as servers do that hand each session a port of its own.
    explicit ScriptedServer(Script script, bool answerFromOtherPort = false)
        : m_script(std::move(script)), m_answerFromOther(answerFromOtherPort)
    {
        m_socket = Bound();
        m_other = Bound();
        sockaddr_in address{};
        socklen_t length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_socket);
        ::close(m_other);
    }
    std::uint16_t port() const { return m_port; }

    // From the port that answers, or from the other one.
    void send(const Bytes& bytes, const sockaddr_in& to, bool fromOtherPort = false)
    {
        ::sendto(fromOtherPort != m_answerFromOther ? m_other : m_socket, bytes.data(),
                 bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    // The device's answer to a PDU, without preambles.
    Bytes deviceAnswer(const Bytes& message)
    {
        sim::RequestParser parser;
        parser.push(0xFF);
        parser.push(0xFF);
        std::optional<sim::Request> request;
        for (std::size_t i = hart::hartip::kHeaderLength; i < message.size() && !request; ++i)
            request = parser.push(message[i]);
        Bytes answer = m_device.answer(*request);
        answer.erase(answer.begin(), std::find_if(answer.begin(), answer.end(),
                                                  [](std::uint8_t b) { return b != 0xFF; }));
        return answer;
    }

private:
    static int Bound()
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        return fd;
    }
    void serve()
    {
        while (!m_stop) {
            pollfd waiting[2] = {{m_socket, POLLIN, 0}, {m_other, POLLIN, 0}};
            if (::poll(waiting, 2, 20) < 1) continue;
            Bytes message(2048);
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const int fd = waiting[0].revents != 0 ? m_socket : m_other;
            const ssize_t got = ::recvfrom(fd, message.data(), message.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &length);
            if (got < 8) continue;
            message.resize(static_cast<std::size_t>(got));
            const auto id = static_cast<hart::hartip::MessageId>(message[2]);
            const auto sequence = static_cast<std::uint16_t>(message[4] << 8 | message[5]);
            if (id == hart::hartip::MessageId::Pdu) {
                m_script(*this, message, from);
            } else {
                const Bytes body(message.begin() + 8, message.end());
                send(hart::hartip::Encode(hart::hartip::MessageType::Response, id, 0, sequence,
                                          body),
                     from);
            }
        }
    }

    Script m_script;
    bool m_answerFromOther = false;
    sim::Device m_device{SteadySetup()};
    int m_socket = -1;
    int m_other = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

std::uint16_t SequenceOf(const Bytes& message)
{
    return static_cast<std::uint16_t>(message[4] << 8 | message[5]);
}

Bytes Response(std::uint16_t sequence, const Bytes& frame)
{
    return hart::hartip::Encode(hart::hartip::MessageType::Response, hart::hartip::MessageId::Pdu,
                                0, sequence, frame);
}

TEST(HartIpLink, DropsWhatIsNotTheAnswerAndStillTakesTheAnswer)
{
    ScriptedServer server([](ScriptedServer& s, const Bytes& request, const sockaddr_in& from) {
        const std::uint16_t sequence = SequenceOf(request);
        const Bytes answer = s.deviceAnswer(request);
        Bytes wrongVersion = Response(sequence, answer);
        wrongVersion[0] = 2;
        Bytes wrongCount = Response(sequence, answer);
        wrongCount[7] += 1;
        s.send({1, 1, 3}, from);
        s.send(wrongVersion, from);
        s.send(wrongCount, from);
        s.send(Response(static_cast<std::uint16_t>(sequence - 1), answer), from);
        s.send(Response(sequence, answer), from, true);  // another port: not the session's
        for (int flood = 0; flood < 200; ++flood) s.send({1, 1, 3, 0, 0, 0, 0, 8}, from);
        s.send(Response(sequence, answer), from);
    });
    Link link({"127.0.0.1", server.port(), false});
    EXPECT_EQ(link.xmtr->Identify(), 1);
    // The flood may lose datagrams in the socket's buffer; the five before it cannot be lost.
    const auto dropped = link.log.issues(TraceKind::MessageDropped);
    ASSERT_GT(dropped.size(), 5u);
    EXPECT_EQ(std::vector(dropped.begin(), dropped.begin() + 5),
              (std::vector{NetworkIssue::ShortHeader, NetworkIssue::WrongVersion,
                           NetworkIssue::WrongByteCount, NetworkIssue::OtherSequence,
                           NetworkIssue::OtherAddress}));
    EXPECT_TRUE(link.user.messages.empty());
}

TEST(HartIpLink, OverUdpFollowsTheAddressThatAnsweredTheInitiate)
{
    ScriptedServer server(
        [](ScriptedServer& s, const Bytes& request, const sockaddr_in& from) {
            const Bytes answer = Response(SequenceOf(request), s.deviceAnswer(request));
            s.send(answer, from, true);  // the port the session began on is no longer its own
            s.send(answer, from);
        },
        true);
    Link link({"127.0.0.1", server.port(), false});
    EXPECT_EQ(link.xmtr->Identify(), 1);
    EXPECT_EQ(link.xmtr->Identify(), 1);
    EXPECT_EQ(link.log.issues(TraceKind::MessageDropped),
              std::vector(2, NetworkIssue::OtherAddress));
    EXPECT_EQ(link.log.count(TraceKind::SessionOpened), 1);
}

TEST(HartIpLink, ANakOrAnErrorEndsTheAttemptAndTheRetriesStartNewSessions)
{
    for (const auto type : {hart::hartip::MessageType::Nak, hart::hartip::MessageType::Error}) {
        const auto issue =
            type == hart::hartip::MessageType::Nak ? NetworkIssue::Nak : NetworkIssue::ErrorMessage;
        ScriptedServer server([type](ScriptedServer& s, const Bytes& request,
                                     const sockaddr_in& from) {
            s.send(hart::hartip::Encode(type, hart::hartip::MessageId::Pdu, 0, SequenceOf(request)),
                   from);
        });
        Link link({"127.0.0.1", server.port(), false});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(link.xmtr->Identify(), 0);
        // No waiting out the poll period: each attempt ends when the refusal comes.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_EQ(link.log.issues(TraceKind::SessionLost), std::vector(3, issue));
        EXPECT_EQ(link.log.count(TraceKind::SessionOpened), 3);
        EXPECT_EQ(link.log.count(TraceKind::RetryPause), 3);
        EXPECT_EQ(link.log.events().back().kind, TraceKind::Result);
        EXPECT_EQ(link.log.events().back().value, hart::RESULT_NO_ANSWER);
    }
}

TEST(HartIpLink, NoServerIsASessionThatCannotBeOpened)
{
    // A bound socket that never answers, and a TCP port nobody listens on.
    const int silent = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
    const std::uint16_t port = ntohs(address.sin_port);

    const struct {
        hart::HartIpEndpoint endpoint;
        NetworkIssue issue;
    } cases[] = {
        {{"127.0.0.1", port, false}, NetworkIssue::NoAnswer},
        {{"127.0.0.1", port, true}, NetworkIssue::NotConnected},
        {{"no-such-host.invalid", port, false}, NetworkIssue::HostNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.endpoint.text());
        Link link(c.endpoint);
        EXPECT_EQ(link.xmtr->Identify(), 0);
        EXPECT_EQ(link.user.ids(), std::vector{kCannotOpenSession});
        EXPECT_EQ(link.log.issues(TraceKind::SessionOpenFailed), std::vector{c.issue});
    }
    ::close(silent);
}

}  // namespace
