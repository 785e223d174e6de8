// The HART 5 universal commands the configuration program itself does not use, byte by byte
// as the universal command set lays them out.

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::Bytes;
using simtest::Concat;
using simtest::Float;
using simtest::FloatAt;
using simtest::LongRequest;
using simtest::Pack;
using simtest::Unpack;

class SimUniversalCommands : public simtest::DeviceTest {};

constexpr std::array<std::uint8_t, 5> kBroadcast{0, 0, 0, 0, 0};

TEST_F(SimUniversalCommands, ReadsLaidOutAsHart5)
{
    setup().process.value = 75.0f;
    setup().state.config.message = "CHECKED 2024";

    // 1: PV units code, PV.
    const Answer pv = command(1);
    EXPECT_EQ(pv.data, Concat({{32}, Float(75.0f)}));
    // 2: loop current mA, percent of range.
    const Answer current = command(2);
    EXPECT_EQ(current.data, Concat({Float(16.0f), Float(75.0f)}));
    // 12: 32 characters of packed ASCII in 24 bytes.
    const Answer message = command(12);
    ASSERT_EQ(message.data.size(), 24u);
    EXPECT_EQ(message.data, Pack("CHECKED 2024", 32));
}

TEST_F(SimUniversalCommands, WritesEchoStoreAndReadBack)
{
    struct Case {
        const char* name;
        std::uint8_t command;
        Bytes data;
        std::uint8_t readCommand;  // what shows the stored value again
    };
    const Case cases[] = {
        {"17 message", 17, Pack("NEW MESSAGE FROM THE BENCH", 32), 12},
        {"19 final assembly number", 19, {0x12, 0x34, 0x56}, 16},
    };
    for (const Case& c : cases) {
        const Answer written = command(c.command, c.data);
        EXPECT_EQ(written.responseCode, 0) << c.name;
        EXPECT_EQ(written.data, c.data) << c.name;
        EXPECT_EQ(command(c.readCommand).data, c.data) << c.name;
        // Too few data bytes change nothing.
        EXPECT_EQ(command(c.command, Bytes(c.data.begin(), c.data.end() - 1)).responseCode, 5)
            << c.name;
        EXPECT_EQ(command(c.readCommand).data, c.data) << c.name;
    }
    EXPECT_EQ(device().state().config.message, "NEW MESSAGE FROM THE BENCH");
    EXPECT_EQ(device().state().config.finalAssemblyNumber, 0x123456u);
}

TEST_F(SimUniversalCommands, WritesAreRefusedWhileWriteProtected)
{
    setup().state.config.writeProtect = 1;
    const std::pair<std::uint8_t, Bytes> writes[] = {
        {6, {3}}, {17, Pack("X", 32)}, {19, {0, 0, 1}}, {38, {}}};
    for (const auto& [number, data] : writes)
        EXPECT_EQ(command(number, data).responseCode, 7) << int{number};
    EXPECT_EQ(device().state().identity.pollAddress, 0);
    EXPECT_EQ(device().state().config.finalAssemblyNumber, 441001u);
}

TEST_F(SimUniversalCommands, Command6TakesPollingAddresses0To15)
{
    EXPECT_EQ(command(6, {16}).responseCode, 2);
    EXPECT_EQ(device().state().identity.pollAddress, 0);
    const Answer moved = command(6, {15});
    EXPECT_EQ(moved.responseCode, 0);
    EXPECT_EQ(moved.data, (Bytes{15}));
    EXPECT_EQ(device().state().identity.pollAddress, 15);
    EXPECT_TRUE(raw(simtest::ShortRequest(0, 0)).empty());
    EXPECT_EQ(exchange(simtest::ShortRequest(0, 15)).command, 0);
}

TEST_F(SimUniversalCommands, Command11AnswersOnlyItsOwnTag)
{
    const Answer identity = exchange(simtest::ShortRequest(0));
    struct Case {
        const char* name;
        Bytes request;
        bool answered;
    };
    const Case cases[] = {
        {"tag, broadcast address", LongRequest(11, Pack("TT-101", 8), kBroadcast), true},
        {"tag, own address", LongRequest(11, Pack("TT-101", 8)), true},
        {"tag, broadcast, primary master", LongRequest(11, Pack("TT-101", 8), {0x80, 0, 0, 0, 0}),
         true},
        {"other tag, broadcast", LongRequest(11, Pack("TT-102", 8), kBroadcast), false},
        {"other tag, own address", LongRequest(11, Pack("TT-102", 8)), false},
        {"no tag, broadcast", LongRequest(11, {}, kBroadcast), false},
        {"other command, broadcast", LongRequest(0, {}, kBroadcast), false},
        {"short frame", simtest::ShortRequest(11, 0, Pack("TT-101", 8)), false},
    };
    for (const Case& c : cases) {
        const auto answers = simtest::SplitAnswers(raw(c.request));
        ASSERT_EQ(answers.size(), c.answered ? 1u : 0u) << c.name;
        if (c.answered) {
            EXPECT_EQ(answers[0].command, 11) << c.name;
            // Same data as command 0, from the device's own long address.
            EXPECT_EQ(answers[0].data, identity.data) << c.name;
            EXPECT_EQ(Bytes(answers[0].address.begin() + 1, answers[0].address.end()),
                      (Bytes{0xFC, 0x0A, 0x1B, 0x2C}))
                << c.name;
        }
    }
}

TEST_F(SimUniversalCommands, UnsupportedCommandsStillAnswer64)
{
    for (std::uint8_t number : {4, 5, 7, 20, 47, 200})
        EXPECT_EQ(command(number).responseCode, 64) << int{number};
}

}  // namespace
