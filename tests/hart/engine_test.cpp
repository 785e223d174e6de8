#include <chrono>
#include <memory>

#include <gtest/gtest.h>

#include "hart/command_table.h"
#include "hart/hart_link.h"
#include "support/answer_frames.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

using namespace hart;
using namespace std::chrono_literals;
using answers::Bytes;

namespace {

// The engine against the scripted fake driver, with waits counted instead of slept.
class EngineTest : public testing::Test {
protected:
    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    FixedPortSettings settings{port.comNumber()};
    std::unique_ptr<CHartLink> link = std::make_unique<CHartLink>(user, settings, sleeper);

    // Production timing: each attempt polls 100 × 40 ms, then waits 1000 ms.
    static constexpr auto kAttempt = 100 * 40ms + 1000ms;
};

const Bytes kRangeAnswer = answers::LongAnswer(
    15, 0, 0, {0, 0, 32, 0x42, 0xC8, 0, 0, 0, 0, 0, 0, 0x3F, 0x80, 0, 0, 0, 250});
const Bytes kBusy = answers::LongAnswer(15, 32, 0, {});

}  // namespace

TEST_F(EngineTest, BusyThenAnswerReturnsTheSecondAnswersCode)
{
    fake.scriptWrite({{}, kBusy});
    fake.scriptWrite({answers::LongAnswer(
        15, 8, 0x40, {0, 0, 32, 0x42, 0xC8, 0, 0, 0, 0, 0, 0, 0x3F, 0x80, 0, 0, 0, 250})});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 8);
    std::uint8_t response = 0, status = 0;
    link->GetStatus(&response, &status);
    EXPECT_EQ(response, 8);
    EXPECT_EQ(status, 0x40);
    EXPECT_FALSE(link->isPortOpen());
    const auto c = fake.counters();
    EXPECT_EQ(c.writes, 2);
    EXPECT_EQ(c.closes, 1);
    // Two polls, the busy answer ends the attempt, 1000 ms pause, one more poll.
    EXPECT_EQ(sleeper.total, 2 * 40ms + 1000ms + 40ms);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(EngineTest, WrongChecksumOnEveryAnswerKeepsPortOpen)
{
    Bytes bad = kRangeAnswer;
    bad.back() ^= 0x5A;
    fake.setEndlessReply(bad);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_BAD_CHECKSUM);
    EXPECT_TRUE(link->isPortOpen());
    EXPECT_EQ(fake.counters().writes, 3);
    EXPECT_EQ(sleeper.total, 3 * kAttempt);
    EXPECT_EQ(fake.counters().opens, 1);
    EXPECT_EQ(fake.counters().closes, 0);

    // The next transaction uses the open port: no second opening.
    fake.setResults(0, 0, 0, 0);
    FakeDriverControl again;  // resets the script: the endless bad answer stops
    again.scriptWrite({kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_EQ(again.counters().opens, 0);
    EXPECT_EQ(again.counters().closes, 1);
}

TEST_F(EngineTest, BurstFrameAndOtherCommandAreSkippedWithinTheAttempt)
{
    const Bytes burst = answers::LongAnswer(15, 0, 0, {1, 2, 3}, 0x81);
    const Bytes otherCommand = answers::LongAnswer(3, 0, 0, {0x41, 0x80, 0, 0});
    fake.scriptWrite({burst, {}, otherCommand, kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_EQ(fake.counters().writes, 1);
    EXPECT_EQ(sleeper.total, 4 * 40ms);
    EXPECT_EQ(link->lastAnswerLength(), static_cast<int>(kRangeAnswer.size()));
}

TEST_F(EngineTest, RequestsOnTheLineAreNeverTheAnswer)
{
    // The echo of our own command 33 request: where an answer keeps its response code it
    // holds the first variable number (1), and its checksum is right.
    Bytes echo{0x82, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 33, 4, 1, 2, 250, 250};
    echo.push_back(answers::Xor(echo));
    Bytes busyLooking{0x82, 0x19, 0xFC, 0x0A, 0x1B, 0x2C,
                      33,   4,    32,   2,    250,  250};  // another master's
    busyLooking.push_back(answers::Xor(busyLooking));
    const Bytes variables =
        answers::LongAnswer(33, 0, 0, {1, 32, 0x41, 0xC8, 0, 0, 2, 32, 0x41, 0xA0, 0, 0});
    fake.scriptWrite({echo, busyLooking, variables});
    std::uint8_t first = 1, second = 2, none = 250;
    EXPECT_EQ(link->Transact(CMD_READ_VARIABLES, {&first, &second, &none, &none}), 0);
    EXPECT_EQ(fake.counters().writes, 1);
    EXPECT_EQ(link->lastAnswerLength(), static_cast<int>(variables.size()));
}

TEST_F(EngineTest, SendFailingNeverPollsButStillWaits)
{
    fake.setResults(0, 0, -5, 0);
    fake.setEndlessReply(kRangeAnswer);
    const int readsBefore = fake.counters().reads;
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_NO_ANSWER);
    const auto c = fake.counters();
    EXPECT_EQ(c.writes, 3);
    // Only the flush before sending reads.
    EXPECT_LE(c.reads - readsBefore, CHARTDriver::kMaxFlushReads);
    EXPECT_EQ(sleeper.total, 3 * 1000ms);
    EXPECT_EQ(sleeper.calls, 3);
    EXPECT_FALSE(link->isPortOpen());
}

TEST_F(EngineTest, NoAnswerTakesThreeFullAttemptsAndClosesThePort)
{
    EXPECT_EQ(link->Transact(CMD_IDENTIFY), RESULT_NO_ANSWER);
    EXPECT_EQ(sleeper.total, 3 * kAttempt);
    EXPECT_EQ(sleeper.total, 15000ms);
    EXPECT_EQ(sleeper.calls, 3 * 101);
    EXPECT_EQ(fake.counters().reads, 3 * 100 + 1);  // the flush's one read plus every poll
    EXPECT_FALSE(link->isPortOpen());
    EXPECT_EQ(fake.counters().closes, 1);
}

TEST_F(EngineTest, CommunicationErrorIsThePendingResult)
{
    const Bytes parity = answers::LongAnswer(15, 0xC0, 0, {});
    fake.scriptWrite({parity});
    fake.scriptWrite({});
    fake.scriptWrite({});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0xC0);
    EXPECT_TRUE(link->isPortOpen());
    // The busy-or-error answer ends its attempt at once; the request is sent again.
    EXPECT_EQ(sleeper.total, 40ms + 1000ms + 2 * kAttempt);
}

TEST_F(EngineTest, ValidAnswerSetsStatusAndLength)
{
    fake.scriptWrite({kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    const auto c = fake.counters();
    EXPECT_STREQ(c.lastChannel, ("HART" + std::to_string(port.comNumber())).c_str());
    EXPECT_EQ(c.lastConfig[0], 0);
    EXPECT_EQ(c.lastConfig[1], 96);
    EXPECT_EQ(c.lastConfig[2], 4);
    EXPECT_EQ(c.lastConfig[3], 6);
    EXPECT_EQ(c.lastHandle, 7u);
    EXPECT_EQ(c.lastWriteLength, 15);
    EXPECT_EQ(Bytes(c.lastWrite, c.lastWrite + 15),
              Bytes(link->lastRequest().begin(), link->lastRequest().begin() + 15));
}

TEST_F(EngineTest, OversizedLengthFromDriverIsClampedToTheBuffer)
{
    // A driver claims 1000 bytes: the engine counts only the 284 it holds. Here the bytes
    // past the frame are zeros, so the checksum over the buffer still holds.
    fake.addReply(kRangeAnswer, 1000);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_EQ(link->lastAnswerLength(), 284);
}

TEST_F(EngineTest, OversizedFrameFailingItsChecksumIsRejected)
{
    Bytes overlong = kRangeAnswer;
    overlong.resize(300, 0x00);
    overlong[283] = 0xAA;  // the last byte inside the buffer no longer matches
    fake.addReply(overlong, 300);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_BAD_CHECKSUM);
    EXPECT_TRUE(link->isPortOpen());
}

TEST_F(EngineTest, TruncatedFrameIsNeverAnAnswer)
{
    // Delimiter, address, command and a checksum that happens to match: too short for the
    // status bytes.
    Bytes stub{0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 15};
    stub.push_back(answers::Xor(stub));
    fake.scriptWrite({stub});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_BAD_CHECKSUM);
}

TEST_F(EngineTest, PortCannotBeOpenedOrConfigured)
{
    fake.setResults(-2, 0, 0, 0);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_NO_ANSWER);
    EXPECT_FALSE(link->isPortOpen());
    EXPECT_EQ(sleeper.calls, 0);

    fake.setResults(0, -4, 0, 0);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_NO_ANSWER);
    EXPECT_FALSE(link->isPortOpen());
    // A channel that could not be configured is closed again, so its lock is not left held.
    EXPECT_EQ(fake.counters().closes, 1);
    EXPECT_EQ(user.ids(), (std::vector<int>{908, 909}));
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(user.messages[0].text, "Нельзя открыть Com порт");
}

TEST_F(EngineTest, CloseFailureShowsMessageAndClearsFlag)
{
    fake.setResults(0, 0, 0, -1);
    fake.scriptWrite({kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_FALSE(link->isPortOpen());
    EXPECT_EQ(user.ids(), (std::vector<int>{907}));
}

TEST_F(EngineTest, BusyResultThenAnotherPortChosenOpensTheNewPort)
{
    fake.setEndlessReply(kBusy);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), RESULT_BUSY);
    EXPECT_TRUE(link->isPortOpen());

    PtyPort other;
    settings.setPortNumber(other.comNumber());
    // Choosing a port closes the open one; the next transaction opens the new port.
    EXPECT_EQ(link->ClosePort(), 1);
    FakeDriverControl again;
    again.scriptWrite({kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_STREQ(again.counters().lastChannel,
                 ("HART" + std::to_string(other.comNumber())).c_str());
}

TEST_F(EngineTest, ShowResponseErrorShowsOneMessageOrNone)
{
    link->ShowResponseError(CMD_WRITE_DAMPING, 8);
    link->ShowResponseError(CMD_WRITE_SENSOR_CONFIG, 8);
    link->ShowResponseError(CMD_TRIM_LOOP_ZERO, 3);
    link->ShowResponseError(CMD_READ_RANGE, 200);
    link->ShowResponseError(CMD_READ_RANGE, 255);
    ASSERT_EQ(user.ids(), (std::vector<int>{1005, 1025, 906}));
    EXPECT_EQ(user.messages[1].text, "Повреждение соединения\n\nПроверте питание, соединение.");
    for (const auto& m : user.messages) EXPECT_EQ(m.icon, MessageIcon::Error);
}

TEST_F(EngineTest, DestructionClosesAnOpenPort)
{
    fake.setEndlessReply(kBusy);
    link->Transact(CMD_READ_RANGE);
    ASSERT_TRUE(link->isPortOpen());
    link.reset();
    EXPECT_EQ(fake.counters().closes, 1);
}
