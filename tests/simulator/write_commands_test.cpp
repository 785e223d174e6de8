// Configuration writes: validation codes, what is stored, and the echoes.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::Bytes;
using simtest::Concat;
using simtest::Float;
using simtest::FloatAt;

class SimWriteCommands : public simtest::DeviceTest {
protected:
    const sim::DeviceConfig& config() { return device().state().config; }
};

Bytes RangeRequest(std::uint8_t units, float upper, float lower)
{
    return Concat({{units}, Float(upper), Float(lower)});
}

Bytes LevelsRequest(float highAlarm, float lowAlarm, float highSaturation, float lowSaturation)
{
    return Concat({Float(highAlarm), Float(lowAlarm), Float(highSaturation), Float(lowSaturation)});
}

TEST_F(SimWriteCommands, DampingIsRoundedUpToHalfASecondWithAWarning)
{
    struct Case {
        float sent;
        std::uint8_t code;
        float stored;
    };
    const Case cases[] = {
        {0.3f, 8, 0.5f},  // rounded, echo carries 0.5
        {0.0f, 8, 0.5f},
        {0.5f, 0, 0.5f},
        {2.0f, 0, 2.0f},
        {32.0f, 0, 32.0f},
        {32.5f, 3, 32.0f},  // too large: unchanged
        {45.0f, 3, 32.0f},
        {-1.0f, 4, 32.0f},  // negative: too small
        {std::numeric_limits<float>::quiet_NaN(), 2, 32.0f},
    };
    for (const Case& c : cases) {
        const Answer answer = command(34, Float(c.sent));
        EXPECT_EQ(answer.responseCode, c.code) << c.sent;
        if (c.code == 0 || c.code == 8) {
            ASSERT_EQ(answer.data.size(), 4u);
            EXPECT_FLOAT_EQ(FloatAt(answer.data, 0), c.stored) << c.sent;
        } else {
            EXPECT_TRUE(answer.data.empty());
        }
        EXPECT_FLOAT_EQ(config().dampingS, c.stored) << c.sent;
    }
}

TEST_F(SimWriteCommands, TagIsStoredAndEchoedPaddedToEightCharacters)
{
    // Packed ASCII has no lower case: a master upper-cases "tt-7" before packing it.
    const Bytes request =
        Concat({simtest::Pack("TT-7", 8), simtest::Pack("NEW DESCRIPTOR", 16), {1, 2, 125}});
    const Answer answer = command(18, request);
    ASSERT_EQ(answer.responseCode, 0);
    EXPECT_EQ(simtest::Unpack(answer.data, 0, 8), "TT-7    ");
    EXPECT_EQ(simtest::Unpack(answer.data, 6, 16), "NEW DESCRIPTOR  ");
    EXPECT_EQ(answer.data[18], 1);
    EXPECT_EQ(answer.data[20], 125);
    EXPECT_EQ(config().tag, "TT-7");
    EXPECT_EQ(simtest::Unpack(command(13).data, 0, 8), "TT-7    ");
    EXPECT_EQ(command(18, simtest::Pack("X", 8)).responseCode, 5);
}

TEST_F(SimWriteCommands, RangeValuesAreCheckedAgainstTheSensorLimits)
{
    // PT100: −200…850 °C, minimum span 10 °C.
    struct Case {
        const char* name;
        Bytes request;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"inside", RangeRequest(32, 200, -50), 0},
        {"lower above the upper limit", RangeRequest(32, 100, 900), 9},
        {"lower below the lower limit", RangeRequest(32, 100, -250), 10},
        {"upper above the upper limit", RangeRequest(32, 900, 0), 11},
        {"upper below the lower limit", RangeRequest(32, -250, 0), 12},
        {"both out", RangeRequest(32, 900, -250), 13},
        {"span too small", RangeRequest(32, 105, 100), 14},
        {"at the limits", RangeRequest(32, 850, -200), 0},
        {"a hair beyond the limit", RangeRequest(32, 850.0005f, -200), 0},
        {"millivolt for a resistance thermometer", RangeRequest(36, 10, 0), 2},
        {"too short", {32, 0x42}, 5},
    };
    for (const Case& c : cases) {
        setup().state.config.upperRangeValue = 100;
        setup().state.config.lowerRangeValue = 0;
        const Answer answer = command(35, c.request);
        EXPECT_EQ(answer.responseCode, c.code) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(answer.data, Bytes(c.request.begin(), c.request.begin() + 9)) << c.name;
            EXPECT_FLOAT_EQ(config().upperRangeValue, FloatAt(c.request, 1)) << c.name;
        } else {
            EXPECT_FLOAT_EQ(config().upperRangeValue, 100) << c.name;
            EXPECT_FLOAT_EQ(config().lowerRangeValue, 0) << c.name;
        }
    }
}

TEST_F(SimWriteCommands, RangeInOtherUnitsIsStoredInTheRangeUnits)
{
    const Answer answer = command(35, RangeRequest(33, 212, 32));  // °F
    ASSERT_EQ(answer.responseCode, 0);
    EXPECT_EQ(config().rangeUnits, 32);
    EXPECT_NEAR(config().upperRangeValue, 100.0f, 1e-4);
    EXPECT_NEAR(config().lowerRangeValue, 0.0f, 1e-4);
    // In °F the limits are −328…1562.
    EXPECT_EQ(command(35, RangeRequest(33, 1600, 32)).responseCode, 11);
}

TEST_F(SimWriteCommands, RangeUnitsConvertTheRange)
{
    ASSERT_EQ(command(44, {33}).data, (Bytes{33}));
    const Answer range = command(15);
    EXPECT_EQ(range.data[2], 33);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 3), 212.0f);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 7), 32.0f);
    // The process value follows: 25 °C is 77 °F.
    EXPECT_FLOAT_EQ(FloatAt(command(3).data, 5), 77.0f);
    EXPECT_EQ(command(44, {37}).responseCode, 0);  // ohm, allowed for a resistance thermometer
    EXPECT_EQ(command(44, {36}).responseCode, 2);  // millivolt is not
    EXPECT_EQ(command(44, {40}).responseCode, 2);
    EXPECT_EQ(config().rangeUnits, 37);
}

TEST_F(SimWriteCommands, SensorTypeAndConnection)
{
    struct Case {
        const char* name;
        Bytes request;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"PT100 4-wire", {0, 1, 4}, 0},     {"type K 2-wire", {0, 132, 2}, 0},
        {"type K 3-wire", {0, 132, 3}, 12}, {"millivolt 4-wire", {0, 128, 4}, 12},
        {"ohm 2-wire", {0, 0, 2}, 8},  // range units °C do not fit an ohm input
        {"unknown type 2", {0, 2, 3}, 11},  {"no such type 251", {0, 251, 2}, 11},
        {"connection 5", {0, 1, 5}, 12},    {"sensor number 1", {1, 1, 3}, 9},
        {"too short", {0, 1}, 5},
    };
    for (const Case& c : cases) {
        const Answer answer = command(141, c.request);
        EXPECT_EQ(answer.responseCode, c.code) << c.name;
        if (c.code == 0 || c.code == 8) {
            EXPECT_EQ(answer.data, c.request) << c.name;
            EXPECT_EQ(command(140, {0}).data, c.request) << c.name;
        }
    }
}

TEST_F(SimWriteCommands, ANewSensorBringsTheRangeIntoItsLimits)
{
    // PT100 0–100 °C → ohm input: units become ohm and the range its whole input.
    ASSERT_EQ(command(141, {0, 0, 2}).responseCode, 8);
    Answer range = command(15);
    EXPECT_EQ(range.data[2], 37);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 3), 2000.0f);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 7), 0.0f);

    // PT100 0–600 °C → PT1000 (up to 300 °C): the upper value is clamped, answer 8.
    setup().state.config = sim::DeviceConfig{};
    setup().state.config.upperRangeValue = 600;
    ASSERT_EQ(command(141, {0, 7, 3}).responseCode, 8);
    range = command(15);
    EXPECT_EQ(range.data[2], 32);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 3), 300.0f);
    EXPECT_FLOAT_EQ(FloatAt(range.data, 7), 0.0f);

    // A trim made on the old sensor is dropped.
    setup().state.calibration.mode = 1;
    ASSERT_EQ(command(141, {0, 1, 3}).responseCode, 0);
    EXPECT_EQ(device().state().calibration.mode, 0);
}

TEST_F(SimWriteCommands, AlarmAndSaturationLevelsStayInTheirBands)
{
    struct Case {
        const char* name;
        Bytes request;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"defaults", LevelsRequest(21.0f, 3.5f, 20.5f, 3.7f), 0},
        {"band edges", LevelsRequest(23.0f, 3.7f, 21.0f, 3.9f), 0},
        {"high alarm low", LevelsRequest(20.9f, 3.5f, 20.5f, 3.7f), 10},
        {"high alarm high", LevelsRequest(23.1f, 3.5f, 20.5f, 3.7f), 10},
        {"high saturation low", LevelsRequest(21.0f, 3.5f, 20.4f, 3.7f), 11},
        {"high saturation high", LevelsRequest(22.0f, 3.5f, 21.1f, 3.7f), 11},
        {"low alarm low", LevelsRequest(21.0f, 3.4f, 20.5f, 3.7f), 12},
        {"low alarm high", LevelsRequest(21.0f, 3.9f, 20.5f, 3.9f), 12},
        {"low saturation low", LevelsRequest(21.0f, 3.5f, 20.5f, 3.6f), 13},
        {"low saturation high", LevelsRequest(21.0f, 3.5f, 20.5f, 4.0f), 13},
        {"low alarm above low saturation", LevelsRequest(21.0f, 3.8f, 20.5f, 3.7f), 12},
        {"not a number", LevelsRequest(std::numeric_limits<float>::quiet_NaN(), 3.5f, 20.5f, 3.7f),
         10},
    };
    for (const Case& c : cases) {
        const Answer answer = command(155, c.request);
        EXPECT_EQ(answer.responseCode, c.code) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(answer.data, c.request) << c.name;
        }
    }
    // Only the accepted sets were stored: the last one is the band edges.
    EXPECT_FLOAT_EQ(config().highAlarmMa, 23.0f);
    EXPECT_FLOAT_EQ(config().lowSaturationMa, 3.9f);
    EXPECT_EQ(command(189).data, LevelsRequest(23.0f, 3.7f, 21.0f, 3.9f));
}

TEST_F(SimWriteCommands, SmallCodesAreZeroOrOne)
{
    struct Case {
        std::uint8_t command;
        std::uint8_t value;
        std::uint8_t code;
    };
    const Case cases[] = {
        {151, 0, 0},
        {151, 2, 2},
        {162, 1, 0},
        {162, 239, 2},
    };
    for (const Case& c : cases) {
        const Answer answer = command(c.command, {c.value});
        EXPECT_EQ(answer.responseCode, c.code) << int(c.command) << " " << int(c.value);
        if (c.code == 0) {
            EXPECT_EQ(answer.data, (Bytes{c.value}));
        }
    }
    EXPECT_EQ(command(150).data, (Bytes{0}));
    EXPECT_EQ(command(15).data[0], 1);
}

TEST_F(SimWriteCommands, WriteProtectionRefusesWritesButNotCommand195)
{
    // 195: 3-byte field 00 00 00, then the write-protect code.
    ASSERT_EQ(command(195, {0, 0, 0, 1}).data, (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(command(15).data[15], 1);
    const std::pair<std::uint8_t, Bytes> writes[] = {
        {18, Concat({simtest::Pack("A", 8), simtest::Pack("", 16), {1, 1, 100}})},
        {34, Float(2.0f)},
        {35, RangeRequest(32, 50, 0)},
        {40, Float(12.0f)},
        {44, {33}},
        {45, Float(4.0f)},
        {46, Float(20.0f)},
        {130, Concat({{32}, Float(25.0f)})},
        {131, Concat({{32}, Float(25.0f)})},
        {141, {0, 1, 4}},
        {145, {0, 1}},
        {151, {0}},
        {155, LevelsRequest(21.0f, 3.5f, 20.5f, 3.7f)},
        {162, {1}},
    };
    for (const auto& [number, data] : writes)
        EXPECT_EQ(command(number, data).responseCode, 7) << int(number);
    EXPECT_FLOAT_EQ(config().dampingS, 1.0f);
    EXPECT_EQ(command(15).responseCode, 0);  // reads still work
    EXPECT_EQ(command(42).responseCode, 0);  // and so does a reset

    ASSERT_EQ(command(195, {0, 0, 0, 0}).responseCode, 0);
    EXPECT_EQ(command(34, Float(2.0f)).responseCode, 0);
    EXPECT_EQ(command(195, {0, 0, 0, 2}).responseCode, 2);
    EXPECT_EQ(command(195, {0, 0}).responseCode, 5);
}

TEST_F(SimWriteCommands, TooFewDataBytesAnswerCode5)
{
    for (std::uint8_t number :
         {34, 35, 40, 44, 45, 46, 130, 131, 141, 142, 145, 151, 155, 162, 195})
        EXPECT_EQ(command(number).responseCode, 5) << int(number);
}

}  // namespace
