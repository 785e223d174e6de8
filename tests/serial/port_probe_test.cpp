#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "serial/port_hold.h"
#include "serial/port_map.h"
#include "serial/pseudo_terminal.h"
#include "serial/temp_port_map.h"

namespace fs = std::filesystem;

namespace {

class PortProbeTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(serial::LinkComPort(pty.slavePath(), 1), 1); }

    fs::path lockFile() const
    {
        return map.lockDir() / ("LCK.." + fs::canonical(pty.slavePath()).filename().string());
    }

    void writeLockFile(const std::string& content) const
    {
        std::ofstream(lockFile(), std::ios::binary) << content;
    }

    TempPortMap map;
    PseudoTerminal pty;
};

TEST_F(PortProbeTest, FreeLinkedDeviceIsFree)
{
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

TEST_F(PortProbeTest, MissingOrDanglingLinkIsAbsent)
{
    fs::create_symlink("/nonexistent/device", map.link(2));
    EXPECT_EQ(serial::ProbeComPort(2), serial::PortState::Absent);
    EXPECT_EQ(serial::ProbeComPort(3), serial::PortState::Absent);
    EXPECT_EQ(serial::ProbeComPort(0), serial::PortState::Absent);
}

TEST_F(PortProbeTest, HeldFlockIsBusyUntilReleased)
{
    const int holder = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy);
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy)
        << "the probe must not steal the lock";
    ::close(holder);
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

TEST_F(PortProbeTest, ProbeReleasesItsOwnLock)
{
    ASSERT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
    const int after = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(after, 0);
    EXPECT_EQ(::flock(after, LOCK_EX | LOCK_NB), 0);
    ::close(after);
}

TEST_F(PortProbeTest, LiveUucpLockIsBusy)
{
    // The test runner that started this test: alive, and another process.
    writeLockFile("      " + std::to_string(::getppid()) + "\n");
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy);

    const int pid = ::getppid();
    writeLockFile(std::string(reinterpret_cast<const char*>(&pid), sizeof pid));
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy) << "binary pid";
}

TEST_F(PortProbeTest, StaleOrUnreadableUucpLockIsIgnored)
{
    writeLockFile(std::to_string(DeadProcessId()) + "\n");
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
    writeLockFile("garbage");
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

TEST_F(PortProbeTest, UucpLockOfAnotherDeviceDoesNotCount)
{
    std::ofstream(map.lockDir() / "LCK..ttyUSB99") << ::getppid() << "\n";
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

// Runs probe in a child process, which is "another program" to this one.
serial::PortState ProbeFromAnotherProcess(int comNumber)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(static_cast<int>(serial::ProbeComPort(comNumber)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<serial::PortState>(WEXITSTATUS(status));
}

// A child that opens path (plainly, no lock) and stays until killed; it lets go of the
// line's master side, which it inherited, so that it is a mere user of the line.
class PlainHolder {
public:
    PlainHolder(const fs::path& path, int inheritedMaster)
    {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(inheritedMaster);
            const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
            (void)::write(ready[1], &fd, sizeof fd);
            ::pause();
            ::_exit(0);
        }
        int fd = -1;
        EXPECT_EQ(::read(ready[0], &fd, sizeof fd), static_cast<ssize_t>(sizeof fd));
        EXPECT_GE(fd, 0);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~PlainHolder() { stop(); }
    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = 0;
        }
    }

private:
    pid_t m_pid = 0;
};

TEST_F(PortProbeTest, PlainOpenByAnotherProcessIsBusy)
{
    PlainHolder holder(pty.slavePath(), pty.master());
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy);
    holder.stop();
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

TEST_F(PortProbeTest, TheFarEndOfAPseudoTerminalIsNotAUser)
{
    // Like a simulated device: another process holds a line's master and, to keep it up,
    // its slave too.
    int path[2];
    ASSERT_EQ(::pipe(path), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master);
        ::unlockpt(master);
        char name[64] = {};
        ::ptsname_r(master, name, sizeof name);
        ::open(name, O_RDWR | O_NOCTTY);
        (void)::write(path[1], name, sizeof name);
        ::pause();
        ::_exit(0);
    }
    char name[64] = {};
    ASSERT_EQ(::read(path[0], name, sizeof name), static_cast<ssize_t>(sizeof name));
    ASSERT_EQ(serial::LinkComPort(name, 2), 2);
    EXPECT_EQ(serial::ProbeComPort(2), serial::PortState::Free);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(path[0]);
    ::close(path[1]);
}

TEST_F(PortProbeTest, HoldIsBusyForOtherProcessesOnlyAndNests)
{
    {
        serial::PortHold outer(1);
        ASSERT_TRUE(outer.held());
        {
            serial::PortHold inner(1);
            EXPECT_TRUE(inner.held());
        }
        EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free)
            << "this process may open what it holds";
        EXPECT_EQ(ProbeFromAnotherProcess(1), serial::PortState::Busy)
            << "the inner hold ended the lock";
    }
    EXPECT_FALSE(fs::exists(lockFile()));
    EXPECT_EQ(ProbeFromAnotherProcess(1), serial::PortState::Free);

    writeLockFile(std::to_string(::getppid()) + "\n");
    EXPECT_FALSE(serial::PortHold(1).held()) << "held by another live process";
    writeLockFile(std::to_string(DeadProcessId()) + "\n");
    EXPECT_TRUE(serial::PortHold(1).held()) << "a stale lock is replaced";
}

}  // namespace
