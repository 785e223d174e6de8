#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "modem/hartmodem.h"
#include "modem/modem_line.h"
#include "serial/port_map.h"
#include "serial/pseudo_terminal.h"
#include "serial/temp_port_map.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kCom = 7;

// The identification request as the program sends it.
const Bytes kIdentifyRequest = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // preambles
    0x02, 0x00,                          // delimiter (master, short), polling address 0
    0xF9, 0x00,                          // command 249, no data
    0xFB,                                // checksum
};
// An answer to command 249, with data bytes a cooked terminal would alter or swallow.
const Bytes kIdentifyAnswer = {
    0x06, 0x80,  // delimiter (slave, short), address with master bit
    0xF9, 0x10,  // command 249, byte count 16 (status and data)
    0x00, 0x00,  // response code, device status
    0xFE, 0x26, 0x0A, 0x05,
    0x05,                    // 254, manufacturer, type (0x0A is a line feed), preambles, revisions
    0x0D, 0x11, 0x13, 0x03,  // carriage return, XON, XOFF, interrupt character
    0xFF, 0x12, 0x34, 0x56,
    0x00,  // flags, device id, a zero byte
    0x3E,  // checksum
};
const Bytes kAnswerOnTheLine = [] {
    Bytes line(5, 0xFF);
    line.insert(line.end(), kIdentifyAnswer.begin(), kIdentifyAnswer.end());
    return line;
}();

Bytes Head(const Bytes& bytes, std::size_t count)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes Tail(const Bytes& bytes, std::size_t from)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end());
}

bool NothingMoreFrom(const PseudoTerminal& pty)
{
    pollfd watch{pty.master(), POLLIN, 0};
    return ::poll(&watch, 1, 0) == 0;
}

class ModemTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(serial::LinkComPort(pty.slavePath(), kCom), kCom);
        ASSERT_EQ(hart_open("HART7", &handle), HART_OK);
        ASSERT_NE(handle, 0);
    }

    void TearDown() override
    {
        if (handle != 0) {
            EXPECT_EQ(hart_close(handle), HART_OK);
        }
    }

    TempPortMap map;
    PseudoTerminal pty;
    std::uint16_t handle = 0;
};

TEST_F(ModemTest, OpenSetsTheLineToHartSettings)
{
    termios line{};
    ASSERT_EQ(::tcgetattr(pty.master(), &line), 0);  // a master reports its slave's settings
    EXPECT_EQ(::cfgetispeed(&line), B1200);
    EXPECT_EQ(::cfgetospeed(&line), B1200);
    // A pseudo-terminal always holds 8 bits without parity; it keeps the odd-parity flag,
    // which shows that odd parity was asked for. The full request is checked in
    // line_settings_test.
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(line.c_cflag & PARODD);
    EXPECT_FALSE(line.c_cflag & CSTOPB) << "one stop bit";
    EXPECT_FALSE(line.c_cflag & CRTSCTS) << "no hardware flow control";
    EXPECT_TRUE(line.c_cflag & CLOCAL);
    EXPECT_TRUE(line.c_cflag & CREAD);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
}

TEST_F(ModemTest, WritePutsExactlyTheFrameOnTheLine)
{
    const HartMessage request = MessageOf(kIdentifyRequest);
    ASSERT_EQ(hart_write(handle, &request), HART_OK);
    EXPECT_EQ(pty.readFromSlave(kIdentifyRequest.size()), kIdentifyRequest);
    EXPECT_TRUE(NothingMoreFrom(pty));

    // Bytes a cooked line would translate travel unchanged.
    const Bytes raw = {0xFF, 0xFF, 0x0A, 0x0D, 0x11, 0x13, 0x03, 0x04, 0x00, 0x7F};
    const HartMessage rawMessage = MessageOf(raw);
    ASSERT_EQ(hart_write(handle, &rawMessage), HART_OK);
    EXPECT_EQ(pty.readFromSlave(raw.size()), raw);
    EXPECT_TRUE(NothingMoreFrom(pty));
}

TEST_F(ModemTest, WriteTakesAFrameOfFullCapacity)
{
    Bytes full(HART_FRAME_CAPACITY);
    for (std::size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<std::uint8_t>(i);
    }
    const HartMessage message = MessageOf(full);
    ASSERT_EQ(hart_write(handle, &message), HART_OK);
    EXPECT_EQ(pty.readFromSlave(full.size()), full);
}

TEST_F(ModemTest, WriteRefusesImpossibleLengths)
{
    HartMessage message = MessageOf(kIdentifyRequest);
    message.length = 0;
    EXPECT_EQ(hart_write(handle, &message), HART_ERR_BAD_ARGUMENT);
    message.length = HART_FRAME_CAPACITY + 1;
    EXPECT_EQ(hart_write(handle, &message), HART_ERR_BAD_ARGUMENT);
    message.length = 0xFFFF;
    EXPECT_EQ(hart_write(handle, &message), HART_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hart_write(handle, nullptr), HART_ERR_BAD_ARGUMENT);
    EXPECT_TRUE(NothingMoreFrom(pty));
}

TEST_F(ModemTest, ReadDeliversTheAnswerWithoutPreamblesAndWithItsExactLength)
{
    pty.writeToSlave(kAnswerOnTheLine);
    HartMessage answer;
    std::memset(&answer, 0xEE, sizeof answer);
    ASSERT_EQ(ReadFrame(handle, answer), HART_OK);
    EXPECT_EQ(FrameOf(answer), kIdentifyAnswer);
    EXPECT_EQ(answer.length, kIdentifyAnswer.size());
    EXPECT_TRUE(std::all_of(answer.frame + answer.length, answer.frame + sizeof answer.frame,
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(hart_read(handle, &answer), HART_NO_FRAME) << "delivered once";
}

TEST_F(ModemTest, ReadWithNothingOnTheLineReturnsAtOnce)
{
    HartMessage answer{};
    EXPECT_EQ(hart_read(handle, &answer), HART_NO_FRAME);
    EXPECT_EQ(hart_read(handle, nullptr), HART_ERR_BAD_ARGUMENT);
}

TEST_F(ModemTest, FramesArrivingTogetherAreDeliveredOneByOne)
{
    const Bytes burst = {0x01, 0x80, 0x03, 0x02, 0x00, 0x00, 0x80};  // burst frame, short address
    Bytes line(3, 0xFF);
    line.insert(line.end(), burst.begin(), burst.end());
    line.insert(line.end(), kAnswerOnTheLine.begin(), kAnswerOnTheLine.end());
    LineObserver observer(pty.slavePath());
    pty.writeToSlave(line);
    ASSERT_TRUE(observer.waitForPending(static_cast<int>(line.size())));

    HartMessage answer{};
    ASSERT_EQ(hart_read(handle, &answer), HART_OK);
    EXPECT_EQ(FrameOf(answer), burst);
    ASSERT_EQ(hart_read(handle, &answer), HART_OK);
    EXPECT_EQ(FrameOf(answer), kIdentifyAnswer);
    EXPECT_EQ(hart_read(handle, &answer), HART_NO_FRAME);
}

TEST_F(ModemTest, PartialAnswerIsKeptForTheNextRead)
{
    LineObserver observer(pty.slavePath());
    const std::size_t split = 12;
    pty.writeToSlave(Head(kAnswerOnTheLine, split));
    ASSERT_TRUE(observer.waitForPending(static_cast<int>(split)));
    HartMessage answer{};
    EXPECT_EQ(hart_read(handle, &answer), HART_RECEIVING) << "a frame has begun";
    ASSERT_EQ(observer.pending(), 0) << "the first part was taken in";

    pty.writeToSlave(Tail(kAnswerOnTheLine, split));
    ASSERT_EQ(ReadFrame(handle, answer), HART_OK);
    EXPECT_EQ(FrameOf(answer), kIdentifyAnswer);
}

TEST_F(ModemTest, WriteDropsWhatCameBeforeTheRequest)
{
    LineObserver observer(pty.slavePath());
    pty.writeToSlave(kAnswerOnTheLine);  // a late answer to an earlier request, unread
    ASSERT_TRUE(observer.waitForPending(static_cast<int>(kAnswerOnTheLine.size())));
    const HartMessage request = MessageOf(kIdentifyRequest);
    ASSERT_EQ(hart_write(handle, &request), HART_OK);
    HartMessage answer{};
    EXPECT_EQ(hart_read(handle, &answer), HART_NO_FRAME);

    const std::size_t split = 9;  // half an answer read in, then a new request
    pty.writeToSlave(Head(kAnswerOnTheLine, split));
    ASSERT_TRUE(observer.waitForPending(static_cast<int>(split)));
    EXPECT_EQ(hart_read(handle, &answer), HART_RECEIVING);
    ASSERT_EQ(hart_write(handle, &request), HART_OK);
    pty.writeToSlave(Tail(kAnswerOnTheLine, split));
    ASSERT_TRUE(observer.waitForPending(static_cast<int>(kAnswerOnTheLine.size() - split)));
    EXPECT_EQ(hart_read(handle, &answer), HART_NO_FRAME) << "the rest alone is no frame";
    EXPECT_EQ(observer.pending(), 0);

    pty.writeToSlave(kAnswerOnTheLine);
    ASSERT_EQ(ReadFrame(handle, answer), HART_OK);
    EXPECT_EQ(FrameOf(answer), kIdentifyAnswer);
}

TEST_F(ModemTest, SecondOpenOfTheSamePortIsBusy)
{
    std::uint16_t second = 0;
    EXPECT_EQ(hart_open("HART7", &second), HART_ERR_BUSY);
    EXPECT_EQ(serial::ProbeComPort(kCom), serial::PortState::Busy);

    ASSERT_EQ(hart_close(handle), HART_OK);
    handle = 0;
    EXPECT_EQ(serial::ProbeComPort(kCom), serial::PortState::Free) << "closing releases the lock";
    ASSERT_EQ(hart_open("HART7", &handle), HART_OK);
}

TEST_F(ModemTest, ConfigureAcceptsTheProgramsValues)
{
    const HartPortConfig program = {{0, 96, 4, 6}};
    EXPECT_EQ(hart_configure(handle, &program), HART_OK);
    const HartPortConfig defaults = {{0, 0, 0, 0}};
    EXPECT_EQ(hart_configure(handle, &defaults), HART_OK);
    const HartPortConfig tooShortGap = {{0, 5, 4, 6}};
    EXPECT_EQ(hart_configure(handle, &tooShortGap), HART_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hart_configure(handle, nullptr), HART_ERR_BAD_ARGUMENT);
}

TEST_F(ModemTest, SubscribeAndRegisterAreAccepted)
{
    EXPECT_EQ(hart_subscribe(handle, 0xFFFFFFFFu), HART_OK);
    EXPECT_EQ(hart_register(handle, nullptr), HART_OK);
}

TEST_F(ModemTest, HangUpIsAnErrorAndTheChannelStillCloses)
{
    pty.closeMaster();
    HartMessage answer{};
    EXPECT_EQ(ReadFrame(handle, answer), HART_ERR_IO);
    EXPECT_EQ(hart_read(handle, &answer), HART_ERR_IO) << "stays an error";
    const HartMessage request = MessageOf(kIdentifyRequest);
    EXPECT_EQ(hart_write(handle, &request), HART_ERR_IO);
    EXPECT_EQ(hart_close(handle), HART_OK);
    handle = 0;
}

// Every call that takes a handle refuses one that is not open.
TEST_F(ModemTest, BadHandlesAreRefused)
{
    const HartPortConfig config = {{0, 96, 4, 6}};
    HartMessage message = MessageOf(kIdentifyRequest);
    const std::vector<std::pair<const char*, std::function<std::int32_t(std::uint32_t)>>> calls = {
        {"configure", [&](std::uint32_t h) { return hart_configure(h, &config); }},
        {"subscribe", [&](std::uint32_t h) { return hart_subscribe(h, 1); }},
        {"register", [&](std::uint32_t h) { return hart_register(h, nullptr); }},
        {"write", [&](std::uint32_t h) { return hart_write(h, &message); }},
        {"read", [&](std::uint32_t h) { return hart_read(h, &message); }},
        {"close", [&](std::uint32_t h) { return hart_close(h); }},
    };
    // Handles are 1…16; the open one plus 0x10000 would alias it if only 16 bits counted.
    const std::uint32_t closedHandle = handle == 1 ? 2 : 1;
    const std::uint32_t badHandles[] = {0,      closedHandle,      17,
                                        0xFFFF, 0x10000u + handle, 0xFFFFFFFFu};
    for (const auto& [name, call] : calls) {
        for (const std::uint32_t bad : badHandles) {
            EXPECT_EQ(call(bad), HART_ERR_BAD_HANDLE) << name << " with handle " << bad;
        }
    }
    EXPECT_TRUE(NothingMoreFrom(pty)) << "nothing was written through a bad handle";
}

class ModemOpenTest : public testing::Test {
protected:
    TempPortMap map;
    PseudoTerminal pty;
    std::uint16_t handle = 0;
};

TEST_F(ModemOpenTest, MalformedChannelNamesAreRefused)
{
    ASSERT_EQ(serial::LinkComPort(pty.slavePath(), 1), 1);
    const char* const names[] = {
        "HART0",  "HART256", "COM1",   "HARTx",  "",       "HART",   "hart1",
        "HART01", "HART1 ",  " HART1", "HART-1", "HART+1", "HART1x", "HART99999999999999999999"};
    for (const char* name : names) {
        EXPECT_EQ(hart_open(name, &handle), HART_ERR_BAD_NAME) << '"' << name << '"';
    }
    EXPECT_EQ(hart_open(nullptr, &handle), HART_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hart_open("HART1", nullptr), HART_ERR_BAD_ARGUMENT);
    EXPECT_EQ(serial::ProbeComPort(1), serial::PortState::Free) << "nothing was left open";
}

TEST_F(ModemOpenTest, HighestChannelNumberOpens)
{
    ASSERT_EQ(serial::LinkComPort(pty.slavePath(), 255), 255);
    ASSERT_EQ(hart_open("HART255", &handle), HART_OK);
    EXPECT_EQ(hart_close(handle), HART_OK);
}

TEST_F(ModemOpenTest, MissingOrDanglingPortIsNoPort)
{
    EXPECT_EQ(hart_open("HART3", &handle), HART_ERR_NO_PORT);
    fs::create_directories(map.portsDir());
    fs::create_symlink("/nonexistent/ttyUSB0", map.link(3));
    EXPECT_EQ(hart_open("HART3", &handle), HART_ERR_NO_PORT);
}

TEST_F(ModemOpenTest, DeviceThatIsNoTerminalIsAnIoError)
{
    const fs::path plainFile = map.lockDir() / "not-a-tty";
    std::ofstream(plainFile) << "x";
    ASSERT_EQ(serial::LinkComPort(plainFile, 2), 2);
    EXPECT_EQ(hart_open("HART2", &handle), HART_ERR_IO);
}

TEST_F(ModemOpenTest, PortHeldByAnotherProgramIsBusy)
{
    ASSERT_EQ(serial::LinkComPort(pty.slavePath(), 4), 4);
    const int holder = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(hart_open("HART4", &handle), HART_ERR_BUSY);
    ::close(holder);

    const fs::path lockFile =
        map.lockDir() / ("LCK.." + fs::canonical(pty.slavePath()).filename().string());
    std::ofstream(lockFile) << "      " << ::getppid() << "\n";
    EXPECT_EQ(hart_open("HART4", &handle), HART_ERR_BUSY) << "a live UUCP lock of another process";
    fs::remove(lockFile);
    ASSERT_EQ(::mkfifo(lockFile.c_str(), 0600), 0);
    EXPECT_EQ(hart_open("HART4", &handle), HART_ERR_BUSY) << "a FIFO in its place is never opened";
    fs::remove(lockFile);
    ASSERT_EQ(hart_open("HART4", &handle), HART_OK);
    EXPECT_EQ(hart_close(handle), HART_OK);
}

TEST_F(ModemOpenTest, SixteenChannelsAtOnce)
{
    constexpr int kChannels = 16;
    std::vector<std::unique_ptr<PseudoTerminal>> lines;
    std::vector<std::uint16_t> handles;
    for (int com = 1; com <= kChannels + 1; ++com) {
        lines.push_back(std::make_unique<PseudoTerminal>());
        ASSERT_EQ(serial::LinkComPort(lines.back()->slavePath(), com), com);
    }
    for (int com = 1; com <= kChannels; ++com) {
        std::uint16_t opened = 0;
        ASSERT_EQ(hart_open(("HART" + std::to_string(com)).c_str(), &opened), HART_OK);
        handles.push_back(opened);
    }
    std::vector<std::uint16_t> sorted = handles;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end())
        << "handles are distinct";

    EXPECT_EQ(hart_open("HART17", &handle), HART_ERR_BUSY) << "no free channel";
    EXPECT_EQ(serial::ProbeComPort(kChannels + 1), serial::PortState::Free)
        << "the refused port was let go";

    // Each handle reaches its own line.
    const HartMessage request = MessageOf(kIdentifyRequest);
    ASSERT_EQ(hart_write(handles[5], &request), HART_OK);
    EXPECT_EQ(lines[5]->readFromSlave(kIdentifyRequest.size()), kIdentifyRequest);
    EXPECT_TRUE(NothingMoreFrom(*lines[4]));

    ASSERT_EQ(hart_close(handles[3]), HART_OK);
    ASSERT_EQ(hart_open("HART17", &handle), HART_OK);
    EXPECT_EQ(handle, handles[3]) << "the freed slot is reused";
    handles[3] = handle;
    for (const std::uint16_t open : handles) {
        EXPECT_EQ(hart_close(open), HART_OK);
    }
}

}  // namespace
