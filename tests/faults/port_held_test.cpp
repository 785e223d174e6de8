// The port held by another program: the port list marks it busy, a device command cannot
// open it (message 908) and sends nothing, and once it is released everything works again.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <optional>
#include <spawn.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/live_monitor.h"
#include "document/port_choice.h"
#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "faults/message_ids.h"
#include "hart/link_environment.h"
#include "serial/unique_fd.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

// What another program does to a serial port it uses: an exclusive lock on its own open of
// the device, or a UUCP lock file with its process id.
class PortHolder {
public:
    virtual ~PortHolder() = default;
};

class FlockHolder final : public PortHolder {
public:
    explicit FlockHolder(const std::filesystem::path& device)
        : m_fd(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        if (!m_fd.valid() || ::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0)
            throw std::runtime_error("cannot lock " + device.string());
    }

private:
    serial::UniqueFd m_fd;
};

class UucpLockHolder final : public PortHolder {
public:
    UucpLockHolder(const QTemporaryDir& lockDir, const std::filesystem::path& device)
        : m_file(lockDir.filePath(QString::fromStdString("LCK.." + device.filename().string()))
                     .toStdString())
    {
        // HDB style: the holder's process id, ten characters wide. The test runner that
        // started this test is alive, and another process.
        std::ofstream(m_file) << std::string(10 - std::to_string(getppid()).size(), ' ')
                              << getppid() << '\n';
    }
    ~UucpLockHolder() override { std::filesystem::remove(m_file); }

private:
    std::filesystem::path m_file;
};

// Another program that simply has the device open (its standard input), with no lock of any
// kind; or, without a device, a program that merely runs.
class PlainOpenHolder final : public PortHolder {
public:
    explicit PlainOpenHolder(const std::optional<std::filesystem::path>& device)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (device)
            posix_spawn_file_actions_addopen(&actions, 0, device->c_str(), O_RDWR | O_NOCTTY, 0);
        char sleepName[] = "sleep";
        char duration[] = "600";
        char* argv[] = {sleepName, duration, nullptr};
        const int failed = posix_spawnp(&m_pid, "sleep", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) throw std::runtime_error("cannot start sleep");
        // Busy once the program has the device open.
        const std::string input = "/proc/" + std::to_string(m_pid) + "/fd/0";
        for (int i = 0;
             device && i < 500 && std::filesystem::read_symlink(input, m_error) != *device; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // Known by its name once it runs sleep.
        for (int i = 0; i < 500 && ProgramName() != "sleep"; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~PlainOpenHolder() override
    {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    pid_t pid() const { return m_pid; }

private:
    std::string ProgramName() const
    {
        std::string name;
        std::ifstream("/proc/" + std::to_string(m_pid) + "/comm") >> name;
        return name;
    }

    pid_t m_pid = 0;
    std::error_code m_error;
};

struct CliRun {
    int exitCode;
    QString output;
    QString errors;
    qint64 milliseconds;
};

CliRun RunCli(const QStringList& args)
{
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    cli.start(QString::fromLocal8Bit(getenv("TARVEL4410_BIN_DIR")) + "/tarvel4410-cli", args);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(60000));
    return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(cli.readAllStandardError()), timer.elapsed()};
}

// Runs a probe at each message the program shows, while the command is still running.
class ProbingUser : public ScriptedUser {
public:
    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override
    {
        if (probe) probe(messageId);
        ScriptedUser::notify(messageId, text, icon);
    }

    std::function<void(int)> probe;
};

// Another program (our command line) asks for the port: refused with 908 while it is held.
bool AnotherProgramIsRefused(int comNumber)
{
    const CliRun run = RunCli({"--port", QString::number(comNumber), "check"});
    return run.exitCode != 0 && run.output.contains("[908]");
}

class PortHeldTest : public testing::Test {
protected:
    PortHeldTest()
    {
        setenv("TARVEL4410_LOCK_DIR", lockDir.path().toLocal8Bit().constData(), 1);
        sim::SimulatorSetup setup;
        setup.process.noise = 0;
        host = std::make_unique<sim::SimulatorHost>(setup);
        const auto started = host->start();
        if (!started) throw std::runtime_error(host->error());
        endpoint = *started;
        ports.setPortNumber(endpoint.comNumber);
        doc.OnNewDocument();
    }
    ~PortHeldTest() override { unsetenv("TARVEL4410_LOCK_DIR"); }

    QString Entry(bool busy) const
    {
        const QString entry = QStringLiteral("COM%1").arg(endpoint.comNumber);
        return busy ? entry + QString::fromUtf8(" (занят)") : entry;
    }

    QTemporaryDir lockDir;
    TempPortMapDir portMap;
    std::unique_ptr<sim::SimulatorHost> host;
    sim::HostEndpoint endpoint{};
    ProbingUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports{0};
    CVeskDoc doc{user, ports, sleeper};
};

}  // namespace

TEST_F(PortHeldTest, BusyMarkAndMessage908UntilReleased)
{
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<PortHolder>()>>>
        holders = {
            {"exclusive lock", [&] { return std::make_unique<FlockHolder>(endpoint.device); }},
            {"UUCP lock file",
             [&] { return std::make_unique<UucpLockHolder>(lockDir, endpoint.device); }},
            {"plain opening by another program",
             [&] { return std::make_unique<PlainOpenHolder>(endpoint.device); }},
        };
    for (const auto& [name, hold] : holders) {
        SCOPED_TRACE(name);
        user.messages.clear();
        host->clearRequests();
        {
            const auto holder = hold();
            EXPECT_TRUE(FillPortList().contains(Entry(true)));

            EXPECT_FALSE(doc.OnCheckConnection());
            EXPECT_EQ(user.ids(), (std::vector<int>{kCannotOpenPort, kNotFound}));
            // The read asks Retry or Cancel after the failed search; Retry meets the same port.
            user.messages.clear();
            user.answers = {IDRETRY, IDCANCEL};
            EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Cancelled);
            EXPECT_EQ(user.ids(), (std::vector<int>{kCannotOpenPort, kCannotOpenPort}));
            ASSERT_EQ(user.questions.size(), 2u);
            EXPECT_EQ(user.questions[0].id, kNotFound);
            EXPECT_EQ(user.questions[1].id, kNotFound);
            EXPECT_FALSE(doc.transmitter().isPortOpen());
            EXPECT_TRUE(host->requests().empty());
        }
        EXPECT_TRUE(FillPortList().contains(Entry(false)));
        user.messages.clear();
        user.questions.clear();
        EXPECT_TRUE(doc.OnCheckConnection());
        EXPECT_EQ(user.ids(), (std::vector<int>{kFound}));
    }
}

// One program on a port for a whole operation: while this one monitors, another instance
// finds the port busy between the monitoring cycles and sends nothing.
TEST_F(PortHeldTest, AnotherInstanceIsRefusedWhileThisOneMonitors)
{
    const auto runCli = [](const QStringList& args) {
        const CliRun run = RunCli(args);
        return std::make_pair(run.exitCode, run.output);
    };
    const QString port = QString::number(endpoint.comNumber);
    {
        LiveMonitor monitor(doc, {}, std::chrono::milliseconds(50));
        ASSERT_TRUE(monitor.Start());
        const auto [exitCode, output] = runCli({"--port", port, "read"});
        EXPECT_EQ(exitCode, 1);
        EXPECT_TRUE(output.contains(QString("[%1]").arg(kCannotOpenPort))) << output.toStdString();
        EXPECT_TRUE(runCli({"ports"}).second.contains(Entry(true)));
        monitor.Stop();
    }
    EXPECT_EQ(runCli({"--port", port, "check"}).first, 0) << "released when monitoring ends";
}

// What keeps the port, or stands in the lock file's place, as the command line meets it:
// one line on standard error that names it. A busy port is refused at once, with nothing
// sent and nothing waited for; a lock that cannot be written leaves the command to go on.
TEST_F(PortHeldTest, CommandLineNamesWhatKeepsThePortInOneLine)
{
    const std::filesystem::path lockFile =
        lockDir.filePath(QString::fromStdString("LCK.." + endpoint.device.filename().string()))
            .toStdString();
    const QString port =
        QString("COM%1 (%2)").arg(endpoint.comNumber).arg(QString::fromStdString(endpoint.device));
    const QString busy = "tarvel4410-cli: " + port + " is busy: ";
    std::unique_ptr<PlainOpenHolder> program;
    const auto runningProgram = [&](const std::optional<std::filesystem::path>& device) {
        program = std::make_unique<PlainOpenHolder>(device);
        return QString("held by process %1 (sleep)\n").arg(program->pid());
    };
    struct Situation {
        const char* name;
        std::function<QString()> arrange;  // returns the line expected on standard error
        bool refused;
    };
    const std::vector<Situation> situations = {
        {"FIFO in the lock file's place",
         [&] {
             EXPECT_EQ(mkfifo(lockFile.c_str(), 0600), 0);
             return busy + "its lock file " + QString::fromStdString(lockFile) +
                    " is not a regular file\n";
         },
         true},
        {"folder in the lock file's place",
         [&] {
             std::filesystem::create_directory(lockFile);
             return busy + "its lock file " + QString::fromStdString(lockFile) +
                    " is not a regular file\n";
         },
         true},
        {"lock file of a running program",
         [&] {
             const QString line = busy + runningProgram(std::nullopt);
             std::ofstream(lockFile) << "      " << program->pid() << '\n';
             return line;
         },
         true},
        {"plain opening by a running program",
         [&] { return busy + runningProgram(endpoint.device); }, true},
        {"lock folder missing",
         [&] {
             std::filesystem::remove(lockDir.path().toStdString());
             return "tarvel4410-cli: warning: the lock file " + QString::fromStdString(lockFile) +
                    " cannot be written (No such file or directory); " + port +
                    " is used without it\n";
         },
         false},
    };
    for (const Situation& situation : situations) {
        SCOPED_TRACE(situation.name);
        host->clearRequests();
        const QString expectedErrors = situation.arrange();
        const CliRun run = RunCli({"--port", QString::number(endpoint.comNumber), "check"});
        EXPECT_EQ(run.errors, expectedErrors);
        if (situation.refused) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.output.contains(QString("[%1]").arg(kCannotOpenPort)))
                << run.output.toStdString();
            EXPECT_TRUE(host->requests().empty());
            EXPECT_LT(run.milliseconds, 1000);
        } else {
            EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
            EXPECT_FALSE(host->requests().empty());
        }
        program.reset();
        std::error_code ignored;
        std::filesystem::remove(lockFile, ignored);
        std::filesystem::create_directory(lockDir.path().toStdString(), ignored);
    }
}

// Each device command of the desktop program keeps the port for its whole run, not only
// during its transactions: at its messages, with its exchanges done, another program is
// still refused the port.
TEST_F(PortHeldTest, EachDesktopDeviceCommandHoldsThePortWhileItRuns)
{
    const struct {
        const char* name;
        std::function<bool()> run;
    } commands[] = {
        {"read", [&] { return doc.OnReadFromDevice() == CommandOutcome::Done; }},
        {"check connection", [&] { return doc.OnCheckConnection(); }},
        {"send the Basic page", [&] { return doc.OnSendBasic(); }},
        {"send the Advanced page", [&] { return doc.OnSendAdvanced(); }},
        {"force the loop current",
         [&] {
             doc.setFixedCurrent(12.0f);
             return doc.ApplyFixedCurrent(true, true);
         }},
        {"release the loop current", [&] { return doc.ApplyFixedCurrent(false, true); }},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        std::vector<std::pair<int, bool>> probes;
        user.probe = [&](int id) {
            probes.emplace_back(id, AnotherProgramIsRefused(endpoint.comNumber));
        };
        user.answers = {IDOK};
        EXPECT_TRUE(command.run());
        user.probe = nullptr;
        ASSERT_FALSE(probes.empty());
        for (const auto& [id, refused] : probes) EXPECT_TRUE(refused) << "at message " << id;
    }
    EXPECT_FALSE(AnotherProgramIsRefused(endpoint.comNumber)) << "released after the commands";
}

// The COM port the settings keep while they name a HART-IP server to reach the transmitter.
class HartIpPortSettings final : public hart::PortSettings {
public:
    HartIpPortSettings(int comNumber, std::uint16_t hartIpPort)
        : m_comNumber(comNumber), m_endpoint{"127.0.0.1", hartIpPort}
    {
    }
    int portNumber() const override { return m_comNumber; }
    std::optional<hart::HartIpEndpoint> hartIpEndpoint() const override { return m_endpoint; }

private:
    int m_comNumber;
    hart::HartIpEndpoint m_endpoint;
};

// Commands that reach the transmitter through a HART-IP server use no COM port: the one the
// settings keep stays free for other programs while they run.
TEST_F(PortHeldTest, CommandsOverHartIpLeaveTheStoredPortToOthers)
{
    const auto hartIpPort = host->startHartIp({.address = "127.0.0.1", .port = 0});
    ASSERT_TRUE(hartIpPort) << host->error();
    const HartIpPortSettings settings(endpoint.comNumber, *hartIpPort);
    CVeskDoc overHartIp{user, settings, sleeper};
    overHartIp.OnNewDocument();
    std::vector<std::pair<int, bool>> probes;
    user.probe = [&](int id) {
        probes.emplace_back(id, AnotherProgramIsRefused(endpoint.comNumber));
    };
    user.answers = {IDOK};
    EXPECT_EQ(overHartIp.OnReadFromDevice(), CommandOutcome::Done);
    EXPECT_TRUE(overHartIp.OnCheckConnection());
    user.probe = nullptr;
    ASSERT_EQ(probes.size(), 2u);
    for (const auto& [id, refused] : probes) EXPECT_FALSE(refused) << "at message " << id;
}
