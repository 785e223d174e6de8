#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "serial/port_list.h"
#include "serial/pseudo_terminal.h"
#include "serial/temp_port_map.h"

namespace fs = std::filesystem;

namespace {

class PortListTest : public testing::Test {
protected:
    void link(int comNumber, const fs::path& target)
    {
        fs::create_directories(map.portsDir());
        fs::create_symlink(target, map.link(comNumber));
    }

    static std::vector<int> Numbers(const std::vector<serial::PortInfo>& ports)
    {
        std::vector<int> numbers;
        for (const auto& port : ports) {
            numbers.push_back(port.comNumber);
        }
        return numbers;
    }

    TempPortMap map;
    PseudoTerminal linked;
    PseudoTerminal first;
    PseudoTerminal second;
};

TEST_F(PortListTest, UnlinkedDevicesGetTheLowestFreeNumbers)
{
    link(1, linked.slavePath());
    link(2, "/nonexistent/device");  // stays, holds its number, is not listed

    const auto ports =
        serial::ListPorts({first.slavePath(), linked.slavePath(), second.slavePath()});

    EXPECT_EQ(Numbers(ports), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(fs::read_symlink(map.link(3)), first.slavePath());
    EXPECT_EQ(fs::read_symlink(map.link(4)), second.slavePath());
    EXPECT_EQ(fs::read_symlink(map.link(2)), "/nonexistent/device");
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[1].device, fs::canonical(first.slavePath()));
    EXPECT_FALSE(ports[1].busy);
}

TEST_F(PortListTest, ListingAgainAddsNothing)
{
    const std::vector<fs::path> candidates{first.slavePath(), second.slavePath()};
    const auto once = serial::ListPorts(candidates);
    const auto twice = serial::ListPorts(candidates);
    EXPECT_EQ(Numbers(once), (std::vector<int>{1, 2}));
    EXPECT_EQ(Numbers(twice), (std::vector<int>{1, 2}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(map.link(3))));
}

TEST_F(PortListTest, DeviceLinkedUnderAnotherNameIsNotLinkedAgain)
{
    const fs::path alias = map.portsDir().parent_path() / "by-id-alias";
    fs::create_symlink(first.slavePath(), alias);
    link(5, alias);
    EXPECT_EQ(Numbers(serial::ListPorts({first.slavePath()})), (std::vector<int>{5}));
}

TEST_F(PortListTest, CandidatesThatAreGoneAreSkipped)
{
    EXPECT_EQ(Numbers(serial::ListPorts({"/nonexistent/ttyUSB7", first.slavePath()})),
              (std::vector<int>{1}));
}

TEST_F(PortListTest, HeldPortIsListedBusy)
{
    link(1, first.slavePath());
    link(2, second.slavePath());
    const int holder = ::open(second.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    const auto ports = serial::ListPorts({});
    ::close(holder);

    ASSERT_EQ(Numbers(ports), (std::vector<int>{1, 2}));
    EXPECT_FALSE(ports[0].busy);
    EXPECT_TRUE(ports[1].busy);
}

}  // namespace
