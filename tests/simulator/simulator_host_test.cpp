// The simulator served on a pseudo-terminal, reached through COM<n> with plain POSIX I/O,
// and the tarvel4410-sim tool as a process.

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "simulator/pty_client.h"
#include "simulator/simulator_host.h"

namespace {

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::LongRequest;
using simtest::ShortRequest;
using simtest::SplitAnswers;

bool WriteText(const std::filesystem::path& path, const char* text)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    const bool written = std::fputs(text, file) >= 0;
    return std::fclose(file) == 0 && written;
}

sim::SimulatorSetup Steady()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0;
    return setup;
}

class SimHost : public ::testing::Test {
protected:
    simtest::TempPortMap ports;
};

TEST_F(SimHost, AnswersThroughItsComLinkAndRemovesItWhenStopped)
{
    sim::SimulatorHost host(Steady());
    const auto endpoint = host.start();
    ASSERT_TRUE(endpoint) << host.error();
    EXPECT_EQ(endpoint->comNumber, 1);
    EXPECT_EQ(endpoint->link, ports.dir() / "COM1");
    EXPECT_EQ(std::filesystem::read_symlink(endpoint->link), endpoint->device);
    EXPECT_TRUE(host.running());

    {
        simtest::PtyClient client(endpoint->link);
        ASSERT_TRUE(client.isOpen());
        client.send(ShortRequest(249));
        const auto answers = SplitAnswers(client.receive(1));
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].delimiter, 0x06);
        EXPECT_EQ(answers[0].address, (Bytes{0x00}));  // the request's master bit (secondary)
        EXPECT_EQ(answers[0].command, 249);
        EXPECT_EQ(answers[0].data[1], 153);
        EXPECT_EQ(answers[0].data[2], 252);
        EXPECT_TRUE(answers[0].checksumOk);
    }
    EXPECT_EQ(host.commands(), (std::vector<std::uint8_t>{249}));

    host.stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(endpoint->link)));
    EXPECT_FALSE(host.running());
}

TEST_F(SimHost, ServesClientsOneAfterAnother)
{
    sim::SimulatorHost host(Steady());
    const auto endpoint = host.start(7);
    ASSERT_TRUE(endpoint) << host.error();
    EXPECT_EQ(endpoint->comNumber, 7);
    for (int round = 0; round < 3; ++round) {
        simtest::PtyClient client(endpoint->device);
        client.send(LongRequest(15));
        const auto answers = SplitAnswers(client.receive(1));
        ASSERT_EQ(answers.size(), 1u) << round;
        EXPECT_EQ(answers[0].command, 15);
    }
    EXPECT_TRUE(host.waitForRequests(3, 1s));
}

TEST_F(SimHost, StateAndFaultsChangeWhileItRuns)
{
    sim::SimulatorHost host(Steady());
    const auto endpoint = host.start();
    ASSERT_TRUE(endpoint) << host.error();
    simtest::PtyClient client(endpoint->device);

    host.withDevice([](sim::Device& device) { device.faults().busy = sim::FaultCount::times(1); });
    client.send(LongRequest(34, simtest::Float(0.3f)));
    auto answers = SplitAnswers(client.receive(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].responseCode, 32);

    client.send(LongRequest(34, simtest::Float(0.3f)));
    answers = SplitAnswers(client.receive(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].responseCode, 8);
    EXPECT_FLOAT_EQ(
        host.withDevice([](sim::Device& device) { return device.state().config.dampingS; }), 0.5f);

    const auto log = host.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].data, simtest::Float(0.3f));
    EXPECT_EQ(log[0].responseCode, std::optional<std::uint8_t>(32));
}

TEST_F(SimHost, AStalledPartialFrameIsDroppedAndTheNextRequestAnswered)
{
    sim::SimulatorHost host(Steady());
    const auto endpoint = host.start();
    ASSERT_TRUE(endpoint) << host.error();
    simtest::PtyClient client(endpoint->device);
    // A frame cut off after its byte count: its "data" would swallow the next request.
    client.send({0xFF, 0xFF, 0xFF, 0x82, 0x19, 0xFC, 0x0A, 0x1B, 0x2C, 0x0F, 0x20});
    // The stimulus is time itself: the line stays quiet for longer than the inter-character
    // gap, after which the request comes in one piece.
    std::this_thread::sleep_for(sim::PtyServer::kInterCharacterGap + 50ms);
    client.send(LongRequest(13));
    const auto answers = SplitAnswers(client.receive(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].command, 13);
}

TEST_F(SimHost, ATakenComNumberIsRefused)
{
    sim::SimulatorHost first(Steady());
    const auto endpoint = first.start(4);
    ASSERT_TRUE(endpoint) << first.error();
    sim::SimulatorHost second(Steady());
    EXPECT_FALSE(second.start(4));
    EXPECT_NE(second.error().find("COM4"), std::string::npos);
    // The first one's link is untouched by the second one's failure.
    EXPECT_EQ(std::filesystem::read_symlink(endpoint->link), endpoint->device);
    const auto next = second.start();
    ASSERT_TRUE(next) << second.error();
    EXPECT_EQ(next->comNumber, 1);
}

TEST(SimWireTiming, LineTimesOfA1200BaudLine)
{
    EXPECT_EQ(sim::WireTiming::characterTime(), std::chrono::nanoseconds(9'166'666));
    // 35 bytes × 11 bits / 1200 baud = 320.833 ms, without per-byte rounding.
    EXPECT_EQ(sim::WireTiming::lineTime(35), std::chrono::nanoseconds(320'833'333));
    const sim::WireTiming timing;
    EXPECT_EQ(timing.transactionTime(11, 24), std::chrono::nanoseconds(320'833'333) + 20ms);
    EXPECT_EQ(timing.transactionTime(11, 0), sim::WireTiming::lineTime(11));
}

TEST_F(SimHost, WireTimingPacesTheAnswer)
{
    sim::SimulatorHost host(Steady(), sim::HostOptions{true, sim::WireTiming(20ms), {}});
    const auto endpoint = host.start();
    ASSERT_TRUE(endpoint) << host.error();
    simtest::PtyClient client(endpoint->device);
    const auto sent = std::chrono::steady_clock::now();
    client.send(ShortRequest(249));  // 11 bytes
    const Bytes answer = client.receive(1, 5s);
    const auto elapsed = std::chrono::steady_clock::now() - sent;
    ASSERT_EQ(answer.size(), 24u);
    const auto bound = sim::WireTiming(20ms).transactionTime(11, 24);
    EXPECT_GE(elapsed, bound);
    EXPECT_LT(elapsed, bound + 2s);
    EXPECT_EQ(host.wireTime(), bound);
}

// The tool as a process: it prints where it listens, answers, and removes its link on SIGTERM.
class SimTool : public SimHost {
protected:
    struct Run {
        pid_t pid = -1;
        int output = -1;  // stdout and stderr
    };

    Run launch(const std::vector<std::string>& arguments)
    {
        const char* binDir = std::getenv("TARVEL4410_BIN_DIR");
        const std::string tool = std::string(binDir ? binDir : ".") + "/tarvel4410-sim";
        int pipeEnds[2];
        EXPECT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
        Run run;
        run.pid = fork();
        if (run.pid == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(tool.c_str())};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(tool.c_str(), argv.data());
            _exit(127);
        }
        close(pipeEnds[1]);
        run.output = pipeEnds[0];
        return run;
    }

    // Output until it contains `until` (or ends), within the time limit.
    std::string read(const Run& run, const std::string& until,
                     std::chrono::milliseconds timeout = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_output.find(until) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{run.output, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) break;
            char chunk[512];
            const ssize_t count = ::read(run.output, chunk, sizeof chunk);
            if (count <= 0) break;
            m_output.append(chunk, static_cast<std::size_t>(count));
        }
        return m_output;
    }

    int finish(const Run& run)
    {
        int status = 0;
        waitpid(run.pid, &status, 0);
        close(run.output);
        m_output.clear();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The exit status, or -1 when it has not ended within timeout (it is then killed).
    int finishWithin(const Run& run, std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int status = 0;
        while (waitpid(run.pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(run.pid, SIGKILL);
                waitpid(run.pid, &status, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        close(run.output);
        m_output.clear();
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::string m_output;
};

TEST_F(SimTool, RunsUntilSigtermAndRemovesItsLink)
{
    const Run run = launch({"--com", "9", "--device-id", "0x000102"});
    const std::string banner = read(run, "Ctrl+C");
    ASSERT_NE(banner.find("COM9 -> /dev/pts/"), std::string::npos) << banner;
    EXPECT_NE(banner.find("port map folder " + ports.dir().string()), std::string::npos) << banner;
    const auto link = ports.dir() / "COM9";
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    {
        simtest::PtyClient client(link);
        client.send(LongRequest(15, {}, {0x19, 0xFC, 0x00, 0x01, 0x02}));
        const auto answers = SplitAnswers(client.receive(1));
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].command, 15);
    }
    kill(run.pid, SIGTERM);
    EXPECT_NE(read(run, "removed").find("Stopped; COM9 removed."), std::string::npos);
    EXPECT_EQ(finish(run), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(SimTool, ALinkLeftByAKilledToolIsReclaimed)
{
    const auto link = ports.dir() / "COM6";
    const Run killed = launch({"--com", "6"});
    ASSERT_NE(read(killed, "Ctrl+C").find("COM6 -> "), std::string::npos);
    kill(killed.pid, SIGKILL);
    finish(killed);
    ASSERT_TRUE(std::filesystem::is_symlink(link)) << "nobody removed it";

    const Run again = launch({"--com", "6"});
    EXPECT_NE(read(again, "Ctrl+C").find("COM6 -> "), std::string::npos)
        << "the number is free again";
    kill(again.pid, SIGTERM);
    EXPECT_EQ(finish(again), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(SimTool, EchoAndNoiseOnTheLineBeforeTheAnswer)
{
    const Run run = launch({"--com", "4", "--echo", "--garbage", "3"});
    ASSERT_NE(read(run, "Ctrl+C").find("COM4 -> "), std::string::npos);
    const Bytes request = LongRequest(15);
    constexpr std::size_t kAnswerBytes = 5 + 1 + 5 + 1 + 1 + 2 + 17 + 1;
    {
        simtest::PtyClient client(ports.dir() / "COM4");
        client.send(request);
        const Bytes line = client.receiveBytes(request.size() + 3 + kAnswerBytes);
        ASSERT_EQ(line.size(), request.size() + 3 + kAnswerBytes);
        EXPECT_EQ(Bytes(line.begin(), line.begin() + static_cast<long>(request.size())), request);
        for (std::size_t i = request.size(); i < request.size() + 3; ++i)
            EXPECT_NE(line[i], 0xFF) << "noise byte " << i;
        const auto answers =
            SplitAnswers(Bytes(line.begin() + static_cast<long>(request.size() + 3), line.end()));
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].command, 15);
        EXPECT_TRUE(answers[0].checksumOk);
    }
    kill(run.pid, SIGTERM);
    EXPECT_EQ(finish(run), 0);
}

TEST_F(SimTool, ABadStateFileOrOptionStopsItBeforeItLinks)
{
    const auto stateFile = ports.dir() / "bad.ini";
    ASSERT_TRUE(WriteText(stateFile, "[config]\ndamping = slow\n"));
    Run run = launch({"--state", stateFile.string()});
    EXPECT_NE(read(run, "\n").find("line 2: damping = slow: expected a number"), std::string::npos);
    EXPECT_EQ(finish(run), 2);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(ports.dir() / "COM1")));
}

// Only a regular file of a sensible size is read: /dev/zero never ends, a FIFO waits for a
// writer, a folder reads as nothing and would pass for an empty state.
TEST_F(SimTool, AStateFileThatIsNoRegularFileIsRefused)
{
    const auto fifo = ports.dir() / "state.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {std::string("/dev/zero"), fifo.string(), ports.dir().string()}) {
        SCOPED_TRACE(path);
        const Run run = launch({"--state", path});
        const std::string output = read(run, "\n", 2s);
        EXPECT_NE(output.find("cannot read " + path + ": "), std::string::npos) << output;
        EXPECT_EQ(finishWithin(run, 2s), 2);
        EXPECT_FALSE(
            std::filesystem::exists(std::filesystem::symlink_status(ports.dir() / "COM1")));
    }
}

// --multidrop: one line, a device for each address from 1; the first --state is the first
// device's, the second one starts as new; only the device addressed answers.
TEST_F(SimTool, MultidropPutsEachDeviceAtItsOwnAddress)
{
    const auto stateFile = ports.dir() / "first.ini";
    ASSERT_TRUE(WriteText(stateFile, "[identity]\ndevice_id = 0x000100\n"));
    const Run run = launch({"--multidrop", "2", "--state", stateFile.string(), "--com", "3"});
    const std::string banner = read(run, "Ctrl+C");
    for (const char* line :
         {"device id 0x000100, long address 19 FC 00 01 00, polling address 1, tag TT-1\n",
          "device id 0x0A1B2D, long address 19 FC 0A 1B 2D, polling address 2, tag TT-2\n"})
        EXPECT_NE(banner.find(line), std::string::npos) << banner;
    {
        simtest::PtyClient client(ports.dir() / "COM3");
        client.send(ShortRequest(0, 2));
        const auto answers = SplitAnswers(client.receive(2, 500ms));
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].address, Bytes{0x02});
    }
    kill(run.pid, SIGTERM);
    EXPECT_EQ(finish(run), 0);
}

}  // namespace
