#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "serial/temp_port_map.h"
#include "serial/uucp_lock.h"

namespace fs = std::filesystem;

namespace {

std::string BinaryPid(int pid)
{
    std::string bytes(sizeof pid, '\0');
    std::memcpy(bytes.data(), &pid, sizeof pid);
    return bytes;
}

struct LockContentCase {
    const char* name;
    std::string content;
    std::optional<long> pid;
};

class UucpLockPidTest : public testing::TestWithParam<LockContentCase> {};

TEST_P(UucpLockPidTest, Parses)
{
    EXPECT_EQ(serial::ParseUucpLockPid(GetParam().content), GetParam().pid);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, UucpLockPidTest,
    testing::Values(
        LockContentCase{"HdbPadded", "      4242\n", 4242},  // ten columns and a line end
        LockContentCase{"BareDigits", "77", 77},
        LockContentCase{"Binary", BinaryPid(123456), 123456},
        LockContentCase{"BinaryWithDigitBytes", BinaryPid(0x3231), 0x3231},  // '1' '2' 0 0
        LockContentCase{"FourDigitText", "1234", 1234}, LockContentCase{"Empty", "", std::nullopt},
        LockContentCase{"Blank", "   \n", std::nullopt},
        LockContentCase{"Text", "pid=12\n", std::nullopt},
        LockContentCase{"Negative", "-5\n", std::nullopt},
        LockContentCase{"Zero", "0\n", std::nullopt},
        LockContentCase{"BinaryZero", BinaryPid(0), std::nullopt},
        LockContentCase{"BinaryNegative", BinaryPid(-1), std::nullopt},
        LockContentCase{"TooLongNumber", "99999999999999999999999\n", std::nullopt}),
    [](const testing::TestParamInfo<LockContentCase>& info) { return info.param.name; });

// The window between finding a lock stale and removing it, widened as a slow machine might.
int g_heldUpSignal = -1;
void HoldUpBeforeRemoval()
{
    (void)::write(g_heldUpSignal, "r", 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

// Another program taking the port's lock: a child process of its own, which reports 'L'
// when it took the lock, 'B' when it found the port busy, and keeps what it took until
// released.
class Contender {
public:
    Contender(const fs::path& device, bool heldUp)
    {
        int heldUpPipe[2], resultPipe[2], releasePipe[2];
        EXPECT_EQ(::pipe(heldUpPipe), 0);
        EXPECT_EQ(::pipe(resultPipe), 0);
        EXPECT_EQ(::pipe(releasePipe), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(releasePipe[1]);
            if (heldUp) {
                g_heldUpSignal = heldUpPipe[1];
                serial::SetBeforeStaleLockRemoval(&HoldUpBeforeRemoval);
            }
            {
                const serial::UucpLock::Outcome outcome = serial::UucpLock::take(device);
                const char result = std::holds_alternative<serial::UucpLock>(outcome)   ? 'L'
                                    : std::holds_alternative<serial::PortUser>(outcome) ? 'B'
                                                                                        : 'N';
                (void)::write(resultPipe[1], &result, 1);
                char ignored;
                (void)::read(releasePipe[0], &ignored, 1);
            }
            ::_exit(0);
        }
        ::close(heldUpPipe[1]);
        ::close(resultPipe[1]);
        ::close(releasePipe[0]);
        m_heldUp = heldUpPipe[0];
        m_result = resultPipe[0];
        m_release = releasePipe[1];
    }
    ~Contender()
    {
        release();
        ::close(m_heldUp);
        ::close(m_result);
    }

    pid_t pid() const { return m_pid; }
    bool reachedRemoval() const
    {
        char signal = 0;
        return ::read(m_heldUp, &signal, 1) == 1;
    }
    char result() const
    {
        char result = '?';
        return ::read(m_result, &result, 1) == 1 ? result : '?';
    }
    void release()
    {
        if (m_release >= 0) {
            // A byte, not the end of the pipe: a contender forked later shares this end.
            (void)::write(m_release, "x", 1);
            ::close(m_release);
            m_release = -1;
            ::waitpid(m_pid, nullptr, 0);
        }
    }

private:
    pid_t m_pid = 0;
    int m_heldUp = -1, m_result = -1, m_release = -1;
};

// Two programs meet a stale lock at once; the first is held up just before it removes it
// and the second comes meanwhile. Only one may take the port, and its lock must stay.
TEST(UucpLockTakeover, DelayedRemovalOfAStaleLockNeverLetsTwoTakeThePort)
{
    TempPortMap map;
    const fs::path device = "/dev/ttyContended0";
    const fs::path lockFile = map.lockDir() / "LCK..ttyContended0";
    std::ofstream(lockFile) << DeadProcessId() << '\n';

    Contender first(device, true);
    ASSERT_TRUE(first.reachedRemoval());
    Contender second(device, false);
    const char secondResult = second.result();
    const char firstResult = first.result();

    EXPECT_EQ((firstResult == 'L') + (secondResult == 'L'), 1)
        << "first " << firstResult << ", second " << secondResult;
    std::ifstream in(lockFile);
    long named = 0;
    in >> named;
    EXPECT_EQ(named, firstResult == 'L' ? first.pid() : second.pid());
    first.release();
    second.release();
    EXPECT_FALSE(fs::exists(lockFile)) << "the winner removes its lock when it ends";
}

}  // namespace
