// HART-IP messages and endpoints as the client parses them, and the frame layout every
// reader of frames shares.
#include <gtest/gtest.h>

#include "hart/frame_layout.h"
#include "hart/hartip_endpoint.h"
#include "hart/hartip_message.h"

namespace {

using namespace hart;
using hartip::MessageFault;
using Bytes = std::vector<std::uint8_t>;

TEST(HartIpMessage, ParsesWhatItEncodesAndDropsWhatIsNoMessage)
{
    const Bytes pdu{0x02, 0x80, 0x00, 0x00, 0x82};
    const Bytes good =
        hartip::Encode(hartip::MessageType::Response, hartip::MessageId::Pdu, 8, 0xBEEF, pdu);
    EXPECT_EQ(good, (Bytes{1, 1, 3, 8, 0xBE, 0xEF, 0, 13, 0x02, 0x80, 0x00, 0x00, 0x82}));
    const auto parsed = hartip::ParseMessage(good);
    EXPECT_EQ(parsed.fault, MessageFault::None);
    EXPECT_EQ(parsed.header.sequence, 0xBEEF);
    EXPECT_EQ(parsed.header.status, 8);
    EXPECT_EQ(Bytes(parsed.body.begin(), parsed.body.end()), pdu);

    const struct {
        Bytes bytes;
        MessageFault fault;
    } bad[] = {
        {{}, MessageFault::ShortHeader},
        {{1, 1, 3, 0, 0, 1, 0}, MessageFault::ShortHeader},
        {{2, 1, 3, 0, 0, 1, 0, 8}, MessageFault::WrongVersion},
        {{1, 1, 3, 0, 0, 1, 0, 9}, MessageFault::WrongByteCount},
        {{1, 1, 3, 0, 0, 1, 0, 8, 0xFF}, MessageFault::WrongByteCount},
        {{1, 1, 3, 0, 0, 1, 0, 4}, MessageFault::WrongByteCount},
        {{1, 7, 3, 0, 0, 1, 0, 8}, MessageFault::UnknownType},
        {{1, 1, 9, 0, 0, 1, 0, 8}, MessageFault::UnknownId},
    };
    for (const auto& c : bad)
        EXPECT_EQ(hartip::ParseMessage(c.bytes).fault, c.fault)
            << ::testing::PrintToString(c.bytes);
}

TEST(HartIpMessage, StreamLengthComesFromTheHeaderOnceItIsIn)
{
    EXPECT_EQ(hartip::StreamMessageLength(Bytes{1, 1, 3, 0, 0, 1, 0}), std::nullopt);
    EXPECT_EQ(hartip::StreamMessageLength(Bytes{1, 1, 3, 0, 0, 1, 0x01, 0x02, 9}), 258u);
    EXPECT_EQ(hartip::StreamMessageLength(Bytes{1, 1, 3, 0, 0, 1, 0, 7}), 0u);
    EXPECT_EQ(hartip::InactivityTimer(hartip::InitiateBody(1, 30000)), 30000u);
    EXPECT_EQ(hartip::InactivityTimer(Bytes{1, 0, 0, 0x75}), std::nullopt);
}

TEST(HartIpEndpoint, TakesHostAndOptionalPort)
{
    const struct {
        const char* text;
        std::optional<HartIpEndpoint> endpoint;
    } cases[] = {
        {"gateway", HartIpEndpoint{"gateway", 5094, false}},
        {"10.0.0.7:20004", HartIpEndpoint{"10.0.0.7", 20004, false}},
        {"[::1]:5095", HartIpEndpoint{"::1", 5095, false}},
        {"[fe80::1]", HartIpEndpoint{"fe80::1", 5094, false}},
        {"::1", HartIpEndpoint{"::1", 5094, false}},
        {"", std::nullopt},
        {":5094", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:50x", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]5094", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HartIpEndpoint::Parse(c.text, false), c.endpoint) << c.text;
    EXPECT_EQ(HartIpEndpoint::Parse("[::1]:5095", true)->text(), "[::1]:5095 TCP");
}

TEST(FrameLayout, FindsEachPartForShortAndLongFrames)
{
    const struct {
        Bytes frame;
        FrameKind kind;
        int command;
        bool whole;
    } cases[] = {
        {{0x02, 0x80, 0x00, 0x00, 0x82}, FrameKind::Request, 0x00, true},
        {{0x82, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0D, 0x00, 0x00}, FrameKind::Request, 0x0D, false},
        {{0x86, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x0D, 0x02, 0x00, 0x00, 0xD1},
         FrameKind::Answer,
         0x0D,
         true},
        {{0x06, 0x80, 0x01, 0x02, 0x00, 0x00, 0x85, 0x00}, FrameKind::Answer, 0x01, false},
        {{0x01, 0x80, 0x03}, FrameKind::Burst, 0x03, false},
        {{0x05, 0x80, 0x03, 0x00, 0x86}, FrameKind::Unknown, 0x03, true},
    };
    for (const auto& c : cases) {
        const FrameLayout layout = FrameLayout::Of(c.frame[0]);
        EXPECT_EQ(layout.kind, c.kind) << ::testing::PrintToString(c.frame);
        EXPECT_EQ(c.frame[static_cast<std::size_t>(layout.commandOffset)], c.command);
        EXPECT_EQ(IsWholeFrame(c.frame), c.whole) << ::testing::PrintToString(c.frame);
    }
}

}  // namespace
