// The link's trace against the scripted fake driver: every fault the engine acts on is one
// '!' event, at the time of the engine's own clock.
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

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

class RecordingSink final : public TraceSink {
public:
    void record(const TraceEvent& event) override { events.push_back(event); }
    std::vector<TraceKind> kinds() const
    {
        std::vector<TraceKind> result;
        for (const auto& e : events) result.push_back(e.kind);
        return result;
    }
    std::vector<TraceEvent> events;
};

class TraceEngineTest : public testing::Test {
protected:
    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    RecordingSink sink;
    FixedPortSettings settings{port.comNumber()};
    std::unique_ptr<CHartLink> link = std::make_unique<CHartLink>(user, settings, sleeper);
};

// The range answer of command 15, and our own request for it on a fresh link (address 0).
const Bytes kRangeAnswer = answers::LongAnswer(
    15, 0, 0, {0, 0, 32, 0x42, 0xC8, 0, 0, 0, 0, 0, 0, 0x3F, 0x80, 0, 0, 0, 250});
const Bytes kRangeRequest = {0x82, 0, 0, 0, 0, 0, 0x0F, 0x00, 0x8D};

using K = TraceKind;

struct FaultCase {
    const char* name;
    std::vector<std::vector<Bytes>> writes;  // the replies to each write in turn
    std::vector<TraceKind> expected;         // the events between opening and the result
    int result;
};

}  // namespace

TEST_F(TraceEngineTest, EachFaultIsItsOwnEventBetweenTheFrames)
{
    Bytes badChecksum = kRangeAnswer;
    badChecksum.back() ^= 0x5A;
    Bytes burst = answers::LongAnswer(3, 0, 0, {0x41, 0x80, 0, 0}, 0x81);
    const FaultCase cases[] = {
        {"busy",
         {{{}, answers::LongAnswer(15, 32, 0, {})}, {kRangeAnswer}},
         {K::Request, K::Answer, K::Busy, K::RetryPause, K::Request, K::Answer},
         0},
        {"bad checksum",
         {{badChecksum, kRangeAnswer}},
         {K::Request, K::Answer, K::BadChecksum, K::Answer},
         0},
        {"burst", {{burst, kRangeAnswer}}, {K::Request, K::Answer, K::SkippedBurst, K::Answer}, 0},
        {"echo",
         {{kRangeRequest, kRangeAnswer}},
         {K::Request, K::Answer, K::SkippedRequest, K::Answer},
         0},
        {"another command",
         {{answers::LongAnswer(48, 0, 0, {0, 0, 0, 0, 0}), kRangeAnswer}},
         {K::Request, K::Answer, K::SkippedOtherCommand, K::Answer},
         0},
        {"communication error",
         {{answers::LongAnswer(15, 0x88, 0, {})}, {kRangeAnswer}},
         {K::Request, K::Answer, K::CommunicationError, K::RetryPause, K::Request, K::Answer},
         0},
        {"silence",
         {{}, {kRangeAnswer}},
         {K::Request, K::NoAnswer, K::RetryPause, K::Request, K::Answer},
         0},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDriverControl script;
        for (const auto& replies : c.writes) script.scriptWrite(replies);
        sink.events.clear();
        link->attachTrace(&sink);
        EXPECT_EQ(link->Transact(CMD_READ_RANGE), c.result);
        link->attachTrace(nullptr);

        std::vector<TraceKind> expected = {K::PortOpened, K::InputFlushed};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        expected.insert(expected.end(), {K::PortClosed, K::Result});
        EXPECT_EQ(sink.kinds(), expected);
    }
    // The values the events carry.
    const auto& events = sink.events;  // the silence case
    EXPECT_EQ(events[0].value, port.comNumber());
    EXPECT_EQ(events[2].frame, kRangeRequest);
    EXPECT_EQ(events[2].value, kPreambleLength);
    EXPECT_EQ(events[3].value, 100);   // polls
    EXPECT_EQ(events[4].value, 1000);  // ms
    EXPECT_EQ(events[6].frame, kRangeAnswer);
    EXPECT_EQ(events.back().commandIndex, CMD_READ_RANGE);
}

TEST_F(TraceEngineTest, TimesComeFromTheEnginesClockAndNothingAfterDetaching)
{
    fake.scriptWrite({{}, answers::LongAnswer(15, 32, 0, {})});
    fake.scriptWrite({kRangeAnswer});
    link->attachTrace(&sink);
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    std::vector<std::chrono::steady_clock::duration> requestTimes, answerTimes;
    for (const auto& e : sink.events) {
        if (e.kind == K::Request) requestTimes.push_back(e.time.time_since_epoch());
        if (e.kind == K::Answer) answerTimes.push_back(e.time.time_since_epoch());
    }
    // Two polls, the busy answer, a 1000 ms pause, then one poll for the answer.
    EXPECT_EQ(requestTimes, (std::vector<std::chrono::steady_clock::duration>{0ms, 1080ms}));
    EXPECT_EQ(answerTimes, (std::vector<std::chrono::steady_clock::duration>{80ms, 1120ms}));

    link->attachTrace(nullptr);
    const auto count = sink.events.size();
    fake.scriptWrite({kRangeAnswer});
    EXPECT_EQ(link->Transact(CMD_READ_RANGE), 0);
    EXPECT_EQ(sink.events.size(), count);
}
