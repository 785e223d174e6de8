// Addressing and the injected faults, as they appear on the line.

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::Bytes;
using simtest::Float;
using simtest::LongRequest;
using simtest::ShortRequest;
using simtest::SplitAnswers;

class SimAddressing : public simtest::DeviceTest {};
class SimFaults : public simtest::DeviceTest {};

TEST_F(SimAddressing, OnlyFramesForThisDeviceAreAnswered)
{
    struct Case {
        const char* name;
        Bytes request;
        bool answered;
    };
    Bytes badChecksum = LongRequest(15);
    badChecksum.back() ^= 0xFF;
    const Case cases[] = {
        {"long address", LongRequest(15), true},
        {"master bit set", LongRequest(15, {}, {0x99, 0xFC, 0x0A, 0x1B, 0x2C}), true},
        {"master and burst bits set", LongRequest(15, {}, {0xD9, 0xFC, 0x0A, 0x1B, 0x2C}), true},
        {"other device id", LongRequest(15, {}, {0x19, 0xFC, 0x0A, 0x1B, 0x2D}), false},
        {"other device type", LongRequest(15, {}, {0x19, 0xFB, 0x0A, 0x1B, 0x2C}), false},
        {"other manufacturer", LongRequest(15, {}, {0x1A, 0xFC, 0x0A, 0x1B, 0x2C}), false},
        // What the program sends before it has identified anything.
        {"all-zero address", LongRequest(15, {}, {0, 0, 0, 0, 0}), false},
        {"bad checksum", badChecksum, false},
        {"short frame 249 to address 0", ShortRequest(249), true},
        {"short frame 0 to address 0", ShortRequest(0), true},
        {"short frame 249 to address 1", ShortRequest(249, 1), false},
        {"short frame for command 15", ShortRequest(15), false},
    };
    for (const Case& c : cases) EXPECT_EQ(!raw(c.request).empty(), c.answered) << c.name;

    // Every frame is logged; only those addressed here count as commands.
    EXPECT_EQ(device().log().entries().size(), std::size(cases));
    EXPECT_EQ(device().log().commands(), (std::vector<std::uint8_t>{15, 15, 15, 249, 0}));
}

TEST_F(SimAddressing, LogKeepsDataAndResponseCodes)
{
    command(34, Float(0.3f));
    const sim::LoggedRequest& entry = device().log().entries().back();
    EXPECT_EQ(entry.command, 34);
    EXPECT_EQ(entry.data, Float(0.3f));
    EXPECT_TRUE(entry.longFrame);
    EXPECT_EQ(entry.responseCode, std::optional<std::uint8_t>(8));
    EXPECT_EQ(entry.requestBytes, 6u + 1 + 5 + 2 + 4 + 1);
    EXPECT_EQ(entry.answerBytes, 5u + 1 + 5 + 2 + 2 + 4 + 1);
}

TEST_F(SimFaults, BusyAnswersCode32ForTheFirstRequestsOnly)
{
    setup().faults.busy = sim::FaultCount::times(2);
    for (int i = 0; i < 2; ++i) {
        const Answer busy = exchange(ShortRequest(249));
        EXPECT_EQ(busy.responseCode, 32);
        EXPECT_TRUE(busy.data.empty());
        EXPECT_EQ(busy.command, 249);
    }
    EXPECT_EQ(exchange(ShortRequest(249)).responseCode, 0);
}

TEST_F(SimFaults, BusyDoesNotExecuteTheWrite)
{
    setup().faults.busy = sim::FaultCount::times(1);
    EXPECT_EQ(command(34, Float(5.0f)).responseCode, 32);
    EXPECT_FLOAT_EQ(device().state().config.dampingS, 1.0f);
}

TEST_F(SimFaults, BadChecksumOnTheNextAnswersOrAlways)
{
    setup().faults.badChecksum = sim::FaultCount::times(2);
    EXPECT_FALSE(command(15).checksumOk);
    EXPECT_FALSE(command(15).checksumOk);
    EXPECT_TRUE(command(15).checksumOk);
    setup().faults.badChecksum = sim::FaultCount::always();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(command(15).checksumOk);
}

TEST_F(SimFaults, BurstFrameComesBeforeTheRealAnswer)
{
    setup().faults.burst = sim::FaultCount::times(1);
    auto answers = SplitAnswers(raw(ShortRequest(249)));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].delimiter, 0x01);  // short burst frame
    EXPECT_EQ(answers[0].address,
              (Bytes{0x40}));  // burst mode bit; the request's master (secondary)
    EXPECT_EQ(answers[0].command, 3);
    EXPECT_EQ(answers[0].data.size(), 24u);
    EXPECT_TRUE(answers[0].checksumOk);
    EXPECT_EQ(answers[1].delimiter, 0x06);
    EXPECT_EQ(answers[1].command, 249);

    setup().faults.burst = sim::FaultCount::times(1);
    answers = SplitAnswers(raw(LongRequest(15)));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].delimiter, 0x81);
    EXPECT_EQ(answers[0].address[0], 0x59);
    EXPECT_EQ(answers[1].command, 15);
    EXPECT_EQ(SplitAnswers(raw(LongRequest(15))).size(), 1u);
}

TEST_F(SimFaults, AnswerToAnotherCommandComesFirst)
{
    setup().faults.wrongCommand = sim::FaultCount::always();
    auto answers = SplitAnswers(raw(LongRequest(15)));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].delimiter, 0x86);
    EXPECT_EQ(answers[0].command, 3);
    EXPECT_EQ(answers[1].command, 15);
    answers = SplitAnswers(raw(LongRequest(3)));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].command, 48);
    EXPECT_EQ(answers[1].command, 3);
}

TEST_F(SimFaults, SilenceForSomeRequestsOrAlways)
{
    setup().faults.silent = sim::FaultCount::times(2);
    EXPECT_TRUE(raw(ShortRequest(249)).empty());
    EXPECT_TRUE(raw(ShortRequest(249)).empty());
    EXPECT_FALSE(raw(ShortRequest(249)).empty());
    EXPECT_EQ(device().log().entries()[0].responseCode, std::nullopt);

    setup().faults.silent = sim::FaultCount::always();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(raw(LongRequest(15)).empty());
    // A silent device does not act on what it heard.
    EXPECT_TRUE(raw(LongRequest(34, Float(9.0f))).empty());
    EXPECT_FLOAT_EQ(device().state().config.dampingS, 1.0f);
}

TEST_F(SimFaults, CommunicationErrorReport)
{
    setup().faults.commError = sim::FaultCount::times(1);
    const Answer report = command(34, Float(9.0f));
    EXPECT_EQ(report.responseCode, 0x88);  // bit 7: communication error; 0x08 longitudinal parity
    EXPECT_EQ(report.deviceStatus, 0x00);
    EXPECT_EQ(report.byteCount, 2);
    EXPECT_EQ(report.command, 34);
    EXPECT_FLOAT_EQ(device().state().config.dampingS, 1.0f);
    EXPECT_EQ(command(34, Float(9.0f)).responseCode, 0);

    setup().faults.commError = sim::FaultCount::times(1);
    setup().faults.commErrorCode = 0xC0;
    EXPECT_EQ(command(15).responseCode, 0xC0);
}

TEST_F(SimFaults, ResponseCodeOverrides)
{
    setup().faults.responseOverrides[35] = 9;
    setup().faults.responseOverrides[34] = 8;
    setup().faults.responseOverrides[15] = 64;

    const Answer refused = command(35, simtest::Concat({{32}, Float(50.0f), Float(0.0f)}));
    EXPECT_EQ(refused.responseCode, 9);
    EXPECT_TRUE(refused.data.empty());
    EXPECT_FLOAT_EQ(device().state().config.upperRangeValue, 100.0f);

    // A warning still executes and echoes.
    const Answer warned = command(34, Float(2.0f));
    EXPECT_EQ(warned.responseCode, 8);
    EXPECT_EQ(warned.data, Float(2.0f));
    EXPECT_FLOAT_EQ(device().state().config.dampingS, 2.0f);

    EXPECT_EQ(command(15).responseCode, 64);
    EXPECT_EQ(command(14).responseCode, 0);
}

TEST_F(SimFaults, FaultsCombineInTheirOrder)
{
    // Silence wins over everything; then a communication error over busy.
    setup().faults.silent = sim::FaultCount::times(1);
    setup().faults.commError = sim::FaultCount::times(1);
    setup().faults.busy = sim::FaultCount::times(1);
    EXPECT_TRUE(raw(LongRequest(15)).empty());
    EXPECT_EQ(command(15).responseCode, 0x88);
    EXPECT_EQ(command(15).responseCode, 32);
    EXPECT_EQ(command(15).responseCode, 0);
}

}  // namespace
