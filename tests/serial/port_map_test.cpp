#include <csignal>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "serial/port_map.h"
#include "serial/pseudo_terminal.h"
#include "serial/temp_port_map.h"

namespace fs = std::filesystem;

namespace {

struct PortMapDirCase {
    const char* name;
    std::optional<std::string> portsDir;
    std::optional<std::string> xdgConfigHome;
    std::optional<std::string> home;
    fs::path expected;
};

class PortMapDirTest : public testing::TestWithParam<PortMapDirCase> {};

TEST_P(PortMapDirTest, FollowsTheEnvironment)
{
    const PortMapDirCase& c = GetParam();
    ScopedEnv ports("TARVEL4410_PORTS_DIR", c.portsDir);
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(serial::PortMapDir(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, PortMapDirTest,
    testing::Values(PortMapDirCase{"Override", "/tmp/ports", "/x", "/h", "/tmp/ports"},
                    PortMapDirCase{"EmptyOverrideIgnored", "", "/x", "/h",
                                   "/x/Tarvel 4410 Configuration Tool/ports"},
                    PortMapDirCase{"XdgConfigHome", std::nullopt, "/x", "/h",
                                   "/x/Tarvel 4410 Configuration Tool/ports"},
                    PortMapDirCase{"HomeConfig", std::nullopt, std::nullopt, "/h",
                                   "/h/.config/Tarvel 4410 Configuration Tool/ports"},
                    // The XDG rules say a relative XDG_CONFIG_HOME is invalid and must be ignored.
                    PortMapDirCase{"RelativeXdgIgnored", std::nullopt, "rel", "/h",
                                   "/h/.config/Tarvel 4410 Configuration Tool/ports"}),
    [](const testing::TestParamInfo<PortMapDirCase>& info) { return info.param.name; });

class PortMapTest : public testing::Test {
protected:
    void link(int comNumber, const fs::path& target)
    {
        fs::create_directories(map.portsDir());
        fs::create_symlink(target, map.link(comNumber));
    }

    TempPortMap map;
    PseudoTerminal pty;
};

TEST_F(PortMapTest, LinkingCreatesTheFolderAndTakesTheLowestFreeNumbers)
{
    ASSERT_FALSE(fs::exists(map.portsDir()));
    EXPECT_EQ(serial::LinkComPort(pty.slavePath()), 1);
    EXPECT_EQ(fs::read_symlink(map.link(1)), pty.slavePath());

    link(3, pty.slavePath());
    link(4, "/nonexistent/device");  // a dangling link still holds its number
    EXPECT_EQ(serial::LinkComPort(pty.slavePath()), 2);
    EXPECT_EQ(serial::LinkComPort(pty.slavePath()), 5);
}

TEST_F(PortMapTest, LinkingAGivenNumber)
{
    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), 7), 7);
    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), 7), std::nullopt) << "taken";
    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), 255), 255);
    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), 256), std::nullopt);
    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), -1), std::nullopt);
    EXPECT_FALSE(fs::exists(fs::symlink_status(map.link(256))));
}

TEST_F(PortMapTest, LinkingFailsWhenEveryNumberIsTaken)
{
    for (int n = serial::kFirstComNumber; n <= serial::kLastComNumber; ++n) {
        ASSERT_EQ(serial::LinkComPort(pty.slavePath()), n);
    }
    EXPECT_EQ(serial::LinkComPort(pty.slavePath()), std::nullopt);
}

TEST_F(PortMapTest, UnlinkRemovesOnlyALinkThatStillPointsAtTheTarget)
{
    link(2, pty.slavePath());
    link(3, "/dev/somebody-else");
    serial::UnlinkComPort(2, pty.slavePath());
    serial::UnlinkComPort(3, pty.slavePath());
    EXPECT_FALSE(fs::exists(fs::symlink_status(map.link(2))));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(map.link(3))));
}

TEST_F(PortMapTest, ComDeviceResolvesOnlyPresentLinks)
{
    link(1, pty.slavePath());
    const fs::path alias = map.portsDir() / "alias";
    fs::create_symlink(pty.slavePath(), alias);
    link(2, alias);
    link(3, "/nonexistent/device");
    std::ofstream(map.link(4)) << "not a link";

    EXPECT_EQ(serial::ComDevice(1), fs::canonical(pty.slavePath()));
    EXPECT_EQ(serial::ComDevice(2), fs::canonical(pty.slavePath()))
        << "resolved through every link";
    EXPECT_EQ(serial::ComDevice(3), std::nullopt) << "dangling";
    EXPECT_EQ(serial::ComDevice(4), std::nullopt) << "a plain file is not a port";
    EXPECT_EQ(serial::ComDevice(5), std::nullopt) << "no link";
    EXPECT_EQ(serial::ComDevice(0), std::nullopt);
    EXPECT_EQ(serial::ComDevice(256), std::nullopt);
}

}  // namespace

TEST_F(PortMapTest, LinkOfAMakerThatDiedIsReclaimedAndALiveOneKept)
{
    // A child makes an owned link and is killed before it can remove it.
    int done[2];
    ASSERT_EQ(::pipe(done), 0);
    const pid_t maker = ::fork();
    if (maker == 0) {
        auto owned = serial::LinkOwnedComPort(pty.slavePath(), 4);
        const char ok = owned && owned->ownerLock.valid() ? 1 : 0;
        (void)::write(done[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(done[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);
    auto live = serial::LinkOwnedComPort(pty.slavePath(), 5);
    ASSERT_TRUE(live && live->ownerLock.valid());

    serial::RemoveOrphanedComLinks();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(map.link(4)))) << "its maker still lives";
    ::kill(maker, SIGKILL);
    ::waitpid(maker, nullptr, 0);
    ::close(done[0]);
    ::close(done[1]);

    EXPECT_EQ(serial::LinkComPort(pty.slavePath(), 4), 4) << "the orphan is removed before linking";
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(map.link(5)))) << "a live maker's link stays";
    EXPECT_FALSE(fs::exists(map.portsDir() / "COM4.owner"));

    serial::UnlinkComPort(5, pty.slavePath());
    EXPECT_FALSE(fs::exists(map.portsDir() / "COM5.owner")) << "unlinking removes the owner file";
}
