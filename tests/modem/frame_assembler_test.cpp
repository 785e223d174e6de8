#include <algorithm>
#include <initializer_list>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "modem/frame_assembler.h"

namespace {

using modem::FrameAssembler;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Preambles(std::size_t count) { return Bytes(count, 0xFF); }

// Frames from delimiter to checksum, as the assembler delivers them.
const Bytes kShortAnswer = {
    0x06,        // delimiter: slave to master, short address
    0x80,        // address: primary master bit, polling address 0
    0x00,        // command 0
    0x02,        // byte count
    0x00, 0x00,  // response code, device status
    0x84,        // checksum
};
const Bytes kLongAnswer = {
    0x86,                          // delimiter: slave to master, long address
    0xA6, 0x4A, 0x12, 0x34, 0x56,  // long address, master bit set
    0x0F,                          // command 15
    0x03,                          // byte count
    0x00, 0x40,                    // response code, device status
    0x07,                          // data
    0x51,                          // checksum
};
const Bytes kShortBurst = {
    0x01,        // delimiter: burst frame, short address
    0x80, 0x03,  // address, command 3
    0x02,        // byte count
    0x00, 0x00,  // status
    0x80,        // checksum
};
const Bytes kLongBurst = {
    0x81,                          // delimiter: burst frame, long address
    0xA6, 0x4A, 0x12, 0x34, 0x56,  // long address
    0x03, 0x02,                    // command 3, byte count
    0x00, 0x00,                    // status
    0x1C,                          // checksum
};
const Bytes kShortRequest = {
    0x02,  // delimiter: master to slave, short address (the identification request)
    0x00,  // polling address 0
    0xF9,  // command 249
    0x00,  // no data
    0xFB,  // checksum
};
const Bytes kLongRequest = {
    0x82,                          // delimiter: master to slave, long address
    0x26, 0x4A, 0x12, 0x34, 0x56,  // long address
    0x0F, 0x00,                    // command 15, no data
    0x91,                          // checksum
};
// Data that looks like preambles and a delimiter must stay data.
const Bytes kAnswerWithFrameLikeData = {
    0x06, 0x80, 0x30,  // delimiter, address, command 48
    0x05,              // byte count
    0x00, 0x00,        // status
    0xFF, 0xFF, 0x06,  // data
    0xB5,              // checksum
};
const Bytes kZeroCountFrame = {
    0x06, 0x80, 0x2A,  // delimiter, address, command 42
    0x00,              // byte count 0: checksum follows at once
    0xAC,              // checksum
};
const Bytes kBadChecksum = {
    0x06, 0x80, 0x00, 0x02, 0x00, 0x00,
    0x85,  // should be 0x84; the engine, not the assembler, rejects it
};

struct StreamCase {
    const char* name;
    Bytes stream;
    std::vector<Bytes> frames;
};

const StreamCase kStreamCases[] = {
    {"ShortAnswer", Cat({Preambles(5), kShortAnswer}), {kShortAnswer}},
    {"LongAnswer", Cat({Preambles(5), kLongAnswer}), {kLongAnswer}},
    {"ShortBurst", Cat({Preambles(5), kShortBurst}), {kShortBurst}},
    {"LongBurst", Cat({Preambles(5), kLongBurst}), {kLongBurst}},
    // A request on the line (our own echoed, another master's) is never an answer.
    {"ShortRequestSkipped", Cat({Preambles(6), kShortRequest}), {}},
    {"LongRequestSkipped", Cat({Preambles(6), kLongRequest}), {}},
    {"EchoThenAnswer", Cat({Preambles(6), kLongRequest, Preambles(5), kLongAnswer}), {kLongAnswer}},
    {"RequestWithFrameLikeDataSkippedWhole",
     Cat({Preambles(5),
          {0x82, 0x26, 0x4A, 0x12, 0x34, 0x56, 0x11, 0x06, 0xFF, 0xFF, 0x06, 0x80, 0x00, 0x00, 0x00,
           0xB8},
          Preambles(5),
          kShortAnswer}),
     {kShortAnswer}},
    {"TwoPreamblesAreEnough", Cat({Preambles(2), kShortAnswer}), {kShortAnswer}},
    {"TwentyPreambles", Cat({Preambles(20), kLongAnswer}), {kLongAnswer}},
    {"OnePreambleIsNotEnough", Cat({Preambles(1), kShortAnswer}), {}},
    {"NoPreambleIsNotEnough", kShortAnswer, {}},
    {"GarbageBefore",
     Cat({{0x00, 0x12, 0xFF, 0x34, 0x86}, Preambles(3), kShortAnswer}),
     {kShortAnswer}},
    {"PreamblesBrokenByGarbage", Cat({{0xFF, 0x00, 0xFF}, kShortAnswer}), {}},
    {"UnknownDelimiterThenFrame",
     Cat({Preambles(5), {0x03, 0x80, 0x00, 0x02, 0x00, 0x00, 0x84}, Preambles(5), kLongAnswer}),
     {kLongAnswer}},
    {"DelimiterWithExpansionBitsRefused", Cat({Preambles(5), {0xA6, 0x80, 0x00, 0x00, 0x26}}), {}},
    {"TwoFramesBackToBack",
     Cat({Preambles(5), kShortAnswer, Preambles(5), kLongAnswer}),
     {kShortAnswer, kLongAnswer}},
    {"GarbageBetweenFrames",
     Cat({Preambles(2), kShortBurst, {0x55, 0xAA, 0x00}, Preambles(3), kShortAnswer}),
     {kShortBurst, kShortAnswer}},
    {"FrameLikeData", Cat({Preambles(5), kAnswerWithFrameLikeData}), {kAnswerWithFrameLikeData}},
    {"ZeroByteCount", Cat({Preambles(5), kZeroCountFrame}), {kZeroCountFrame}},
    {"BadChecksumDelivered", Cat({Preambles(5), kBadChecksum}), {kBadChecksum}},
    {"UnfinishedFrameKept",
     Cat({Preambles(5), Bytes(kLongAnswer.begin(), kLongAnswer.end() - 1)}),
     {}},
};

enum class Feeding { Whole, ByteByByte, ThreeChunks };

std::vector<Bytes> TakeAll(FrameAssembler& assembler)
{
    std::vector<Bytes> frames;
    while (auto frame = assembler.takeFrame()) {
        frames.push_back(std::move(*frame));
    }
    return frames;
}

void Feed(FrameAssembler& assembler, const Bytes& stream, Feeding feeding)
{
    const auto now = FrameAssembler::Clock::now();
    const std::span<const std::uint8_t> all(stream);
    switch (feeding) {
    case Feeding::Whole: assembler.feed(all, now); break;
    case Feeding::ByteByByte:
        for (std::size_t i = 0; i < all.size(); ++i) {
            assembler.feed(all.subspan(i, 1), now);
        }
        break;
    case Feeding::ThreeChunks: {
        const std::size_t third = all.size() / 3;
        assembler.feed(all.first(third), now);
        assembler.feed(all.subspan(third, third), now);
        assembler.feed(all.subspan(2 * third), now);
        break;
    }
    }
}

class FrameAssemblerStreamTest : public testing::TestWithParam<std::tuple<StreamCase, Feeding>> {};

TEST_P(FrameAssemblerStreamTest, CutsFramesFromTheStream)
{
    const auto& [streamCase, feeding] = GetParam();
    FrameAssembler assembler;
    Feed(assembler, streamCase.stream, feeding);
    EXPECT_EQ(TakeAll(assembler), streamCase.frames);
}

std::string StreamCaseName(const testing::TestParamInfo<std::tuple<StreamCase, Feeding>>& info)
{
    static const char* const kFeedingNames[] = {"Whole", "ByteByByte", "ThreeChunks"};
    return std::string(std::get<0>(info.param).name) + "_" +
           kFeedingNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Streams, FrameAssemblerStreamTest,
                         testing::Combine(testing::ValuesIn(kStreamCases),
                                          testing::Values(Feeding::Whole, Feeding::ByteByByte,
                                                          Feeding::ThreeChunks)),
                         StreamCaseName);

class FrameAssemblerTest : public testing::Test {
protected:
    void feedAt(const Bytes& bytes, std::chrono::milliseconds at)
    {
        assembler.feed(bytes, t0 + at);
    }
    void silentAt(std::chrono::milliseconds at) { assembler.feed({}, t0 + at); }

    FrameAssembler assembler;
    const FrameAssembler::Clock::time_point t0 = FrameAssembler::Clock::time_point() + 1h;
    const Bytes stream = Cat({Preambles(5), kLongAnswer});
    const Bytes head = Bytes(stream.begin(), stream.begin() + 9);
    const Bytes tail = Bytes(stream.begin() + 9, stream.end());
};

TEST_F(FrameAssemblerTest, SilenceLongerThanTheGapDropsAPartialFrame)
{
    feedAt(head, 0ms);
    silentAt(101ms);
    EXPECT_FALSE(assembler.hasPartialFrame());
    feedAt(tail, 102ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{});
}

TEST_F(FrameAssemblerTest, SilenceWithinTheGapKeepsAPartialFrame)
{
    feedAt(head, 0ms);
    silentAt(40ms);
    silentAt(100ms);
    feedAt(tail, 120ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{kLongAnswer});
}

TEST_F(FrameAssemblerTest, LateReaderIsNotTakenForAGap)
{
    // Nobody looked at the line in between, so the bytes may have come without a pause.
    feedAt(head, 0ms);
    feedAt(tail, 500ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{kLongAnswer});
}

TEST_F(FrameAssemblerTest, GapCountsFromTheLastByte)
{
    feedAt(Bytes(head.begin(), head.begin() + 6), 0ms);
    feedAt(Bytes(head.begin() + 6, head.end()), 80ms);
    silentAt(170ms);
    feedAt(tail, 175ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{kLongAnswer});
}

TEST_F(FrameAssemblerTest, SilenceAlsoForgetsPreambles)
{
    feedAt(Preambles(5), 0ms);
    silentAt(150ms);
    feedAt(kShortAnswer, 160ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{});
}

TEST_F(FrameAssemblerTest, GapIsAdjustable)
{
    assembler.setGap(300ms);
    feedAt(head, 0ms);
    silentAt(250ms);
    feedAt(tail, 260ms);
    EXPECT_EQ(TakeAll(assembler), std::vector<Bytes>{kLongAnswer});
}

TEST_F(FrameAssemblerTest, ResetForgetsPartialAndQueuedFrames)
{
    feedAt(Cat({Preambles(3), kShortAnswer}), 0ms);
    feedAt(head, 1ms);
    assembler.reset();
    feedAt(tail, 2ms);
    EXPECT_FALSE(assembler.takeFrame());
}

TEST_F(FrameAssemblerTest, LargestByteCountFits)
{
    Bytes frame = {0x86, 0xA6, 0x4A, 0x12, 0x34, 0x56, 0x21, 0xFF};  // long header, count 255
    frame.resize(frame.size() + 255, 0xFF);                          // data, preamble-like
    frame.push_back(0x00);                                           // checksum (not checked)
    feedAt(Cat({Preambles(5), frame, Preambles(5), kShortAnswer}), 0ms);
    EXPECT_EQ(TakeAll(assembler), (std::vector<Bytes>{frame, kShortAnswer}));
}

TEST_F(FrameAssemblerTest, QueueKeepsTheNewestFrames)
{
    std::vector<Bytes> sent;
    for (std::uint8_t command = 0; command < 20; ++command) {
        Bytes frame = {0x06, 0x80, command, 0x00};
        frame.push_back(static_cast<std::uint8_t>(0x06 ^ 0x80 ^ command));
        sent.push_back(frame);
        feedAt(Cat({Preambles(2), frame}), 0ms);
    }
    const auto kept = TakeAll(assembler);
    ASSERT_EQ(kept.size(), FrameAssembler::kMaxQueuedFrames);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(),
                           sent.end() - static_cast<std::ptrdiff_t>(kept.size())));
}

// Whatever comes, every delivered frame must be self-consistent: a known delimiter, and
// exactly header + count + checksum bytes.
TEST_F(FrameAssemblerTest, RandomBytesOnlyYieldWellFormedFrames)
{
    std::mt19937 random(4410);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> chunkSize(0, 40);
    std::size_t delivered = 0;
    for (int chunk = 0; chunk < 20000; ++chunk) {
        Bytes bytes(static_cast<std::size_t>(chunkSize(random)));
        for (auto& b : bytes) {
            // Mostly preambles and delimiters, so that many frames start.
            const int pick = byte(random);
            b = pick < 96    ? 0xFF
                : pick < 128 ? 0x86
                : pick < 140 ? 0x06
                             : static_cast<std::uint8_t>(byte(random));
        }
        feedAt(bytes, std::chrono::milliseconds(chunk));
        for (const Bytes& frame : TakeAll(assembler)) {
            ++delivered;
            ASSERT_GE(frame.size(), 5u);
            const bool longAddress = (frame[0] & 0x80) != 0;
            const std::size_t header = longAddress ? 8 : 4;
            ASSERT_TRUE(frame[0] == 0x01 || frame[0] == 0x02 || frame[0] == 0x06 ||
                        frame[0] == 0x81 || frame[0] == 0x82 || frame[0] == 0x86);
            ASSERT_EQ(frame.size(), header + frame[header - 1] + 1);
        }
    }
    EXPECT_GT(delivered, 0u) << "the stream should have produced frames to check";
}

}  // namespace
