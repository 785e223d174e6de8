#include "port_map.h"

#include "pseudo_terminal.h"
#include "temp_port_map.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PortProbeTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(serial::LinkComPort(pty.slavePath(), 1), 1); }

    fs::path lockFile() const { return map.lockDir() / ("LCK.." + fs::canonical(pty.slavePath()).filename().string()); }

    void writeLockFile(const std::string& content) const { std::ofstream(lockFile(), std::ios::binary) << content; }

    TempPortMap map;
    PseudoTerminal pty;
};

pid_t DeadProcessId()
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

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
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy) << "the probe must not steal the lock";
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
    writeLockFile("      " + std::to_string(::getpid()) + "\n");
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Busy);

    const int pid = ::getpid();
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
    std::ofstream(map.lockDir() / "LCK..ttyUSB99") << ::getpid() << "\n";
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free);
}

}  // namespace
