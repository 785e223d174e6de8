// The simulator's own framing: request parser and answer builder, against hand-made vectors.

#include <gtest/gtest.h>

#include "simulator/answer_builder.h"
#include "simulator/hart_test_frames.h"
#include "simulator/request_parser.h"

namespace {

using simtest::Bytes;

std::vector<sim::Request> ParseAll(const Bytes& bytes)
{
    sim::RequestParser parser;
    std::vector<sim::Request> requests;
    for (std::uint8_t byte : bytes) {
        if (auto request = parser.push(byte)) requests.push_back(*request);
    }
    return requests;
}

TEST(SimRequestParser, ReadsTheIdentificationRequestOfTheProgram)
{
    // FF×6 preambles | 02 short delimiter | 00 poll address | F9 command 249 | 00 count | FB
    // checksum
    const auto requests =
        ParseAll({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0xF9, 0x00, 0xFB});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FALSE(requests[0].longFrame);
    EXPECT_EQ(requests[0].address[0], 0x00);
    EXPECT_EQ(requests[0].command, 249);
    EXPECT_TRUE(requests[0].data.empty());
    EXPECT_TRUE(requests[0].checksumOk);
    EXPECT_EQ(requests[0].lineBytes, 11u);
}

TEST(SimRequestParser, ReadsALongFrameWithData)
{
    // FF×6 | 82 | 19 FC 0A 1B 2C address | 22 command 34 | 04 count | 3F 00 00 00 damping 0.5 |
    // checksum
    const Bytes frame{0xFF,
                      0xFF,
                      0xFF,
                      0xFF,
                      0xFF,
                      0xFF,
                      0x82,
                      0x19,
                      0xFC,
                      0x0A,
                      0x1B,
                      0x2C,
                      0x22,
                      0x04,
                      0x3F,
                      0x00,
                      0x00,
                      0x00,
                      0x82 ^ 0x19 ^ 0xFC ^ 0x0A ^ 0x1B ^ 0x2C ^ 0x22 ^ 0x04 ^ 0x3F};
    const auto requests = ParseAll(frame);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].longFrame);
    EXPECT_EQ(requests[0].address, simtest::kDeviceAddress);
    EXPECT_EQ(requests[0].command, 34);
    EXPECT_EQ(requests[0].data, (Bytes{0x3F, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(requests[0].checksumOk);
    EXPECT_EQ(requests[0].lineBytes, frame.size());
}

TEST(SimRequestParser, FlagsABadChecksum)
{
    Bytes frame = simtest::LongRequest(15);
    frame.back() ^= 0x01;
    const auto requests = ParseAll(frame);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FALSE(requests[0].checksumOk);
}

TEST(SimRequestParser, SkipsWhatIsNotARequest)
{
    const Bytes request = simtest::ShortRequest(0);
    struct Case {
        const char* name;
        Bytes before;
    };
    const Case cases[] = {
        {"garbage", {0x12, 0x34, 0x02, 0x00}},
        // One preamble is not enough to lock onto a frame: FF 02 is skipped.
        {"single preamble", {0xFF, 0x02}},
        // An answer of another slave (delimiter 06) with its preambles.
        {"another slave's answer", {0xFF, 0xFF, 0x06}},
    };
    for (const Case& c : cases) {
        const auto requests = ParseAll(simtest::Concat({c.before, request}));
        ASSERT_EQ(requests.size(), 1u) << c.name;
        EXPECT_EQ(requests[0].command, 0) << c.name;
        EXPECT_TRUE(requests[0].checksumOk) << c.name;
    }
}

TEST(SimRequestParser, ResetDropsAPartialFrameAndTheNextOneParses)
{
    sim::RequestParser parser;
    const Bytes partial{0xFF, 0xFF, 0xFF, 0x82, 0x19, 0xFC};
    for (std::uint8_t byte : partial) EXPECT_FALSE(parser.push(byte));
    EXPECT_TRUE(parser.inFrame());
    parser.reset();
    EXPECT_FALSE(parser.inFrame());
    std::optional<sim::Request> request;
    for (std::uint8_t byte : simtest::LongRequest(3)) request = parser.push(byte);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->command, 3);
    EXPECT_TRUE(request->checksumOk);
}

TEST(SimRequestParser, TwoRequestsInOneChunk)
{
    const auto requests =
        ParseAll(simtest::Concat({simtest::LongRequest(13), simtest::LongRequest(14)}));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].command, 13);
    EXPECT_EQ(requests[1].command, 14);
}

TEST(SimAnswerBuilder, BuildsShortAndLongAnswersAndBurstFrames)
{
    sim::AnswerFrame shortAnswer;
    shortAnswer.address = {0x80};
    shortAnswer.command = 0x96;
    shortAnswer.data = {0x01};
    // FF×5 | 06 | 80 | 96 command 150 | 03 count | 00 rc | 00 status | 01 | checksum 06^80^96^03^01
    EXPECT_EQ(sim::AnswerBuilder::build(shortAnswer),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x06, 0x80, 0x96, 0x03, 0x00, 0x00, 0x01,
                     0x06 ^ 0x80 ^ 0x96 ^ 0x03 ^ 0x01}));

    sim::AnswerFrame longAnswer;
    longAnswer.longFrame = true;
    longAnswer.address = {0x99, 0xFC, 0x0A, 0x1B, 0x2C};
    longAnswer.command = 0x2A;
    longAnswer.responseCode = 0x07;
    longAnswer.deviceStatus = 0x80;
    // FF×5 | 86 | 99 FC 0A 1B 2C | 2A command 42 | 02 count | 07 rc | 80 status | checksum
    EXPECT_EQ(
        sim::AnswerBuilder::build(longAnswer),
        (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x2A, 0x02, 0x07,
               0x80, 0x86 ^ 0x99 ^ 0xFC ^ 0x0A ^ 0x1B ^ 0x2C ^ 0x2A ^ 0x02 ^ 0x07 ^ 0x80}));

    longAnswer.kind = sim::FrameKind::Burst;
    EXPECT_EQ(sim::AnswerBuilder::build(longAnswer)[5], 0x81);
    shortAnswer.kind = sim::FrameKind::Burst;
    EXPECT_EQ(sim::AnswerBuilder::build(shortAnswer)[5], 0x01);
}

}  // namespace
