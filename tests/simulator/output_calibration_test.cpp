// Fixed current, loop trims, reset, sensor trims and calibration information, and the status
// bits and loop current that follow from the process.

#include <cmath>

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::BitsAt;
using simtest::Bytes;
using simtest::Concat;
using simtest::Float;
using simtest::FloatAt;

constexpr std::uint8_t kMalfunction = 0x80;
constexpr std::uint8_t kMoreStatus = 0x10;
constexpr std::uint8_t kCurrentFixed = 0x08;
constexpr std::uint8_t kSaturated = 0x04;
constexpr std::uint8_t kOutOfLimits = 0x01;
constexpr std::uint32_t kNotANumberBits = 0x7FA00000;

class SimOutputCommands : public simtest::DeviceTest {
protected:
    float loopCurrent() { return FloatAt(command(3).data, 0); }
};

class SimCalibration : public simtest::DeviceTest {
protected:
    Bytes trim(float point, std::uint8_t units = 32) { return Concat({{units}, Float(point)}); }
};

TEST_F(SimOutputCommands, FixedCurrentModeEntersAndLeaves)
{
    const Answer fixed = command(40, Float(12.0f));
    ASSERT_EQ(fixed.responseCode, 0);
    EXPECT_EQ(fixed.data, Float(12.0f));
    EXPECT_EQ(fixed.deviceStatus & kCurrentFixed, kCurrentFixed);
    EXPECT_FLOAT_EQ(loopCurrent(), 12.0f);

    // Only the alarm levels bound it (3.5 and 21.0 mA, both accepted).
    EXPECT_EQ(command(40, Float(3.4f)).responseCode, 4);
    EXPECT_EQ(command(40, Float(21.1f)).responseCode, 3);
    EXPECT_EQ(command(40, Float(3.5f)).responseCode, 0);
    EXPECT_EQ(command(40, Float(21.0f)).responseCode, 0);
    EXPECT_FLOAT_EQ(loopCurrent(), 21.0f);

    const Answer released = command(40, Float(0.0f));
    ASSERT_EQ(released.responseCode, 0);
    EXPECT_EQ(released.data, Float(0.0f));
    EXPECT_EQ(released.deviceStatus & kCurrentFixed, 0);
    EXPECT_FLOAT_EQ(loopCurrent(), 8.0f);
}

TEST_F(SimOutputCommands, ResetAnswersFirstThenLeavesFixedCurrent)
{
    ASSERT_EQ(command(40, Float(4.0f)).responseCode, 0);
    const Answer reset = command(42);
    EXPECT_EQ(reset.responseCode, 0);
    EXPECT_TRUE(reset.data.empty());
    EXPECT_EQ(reset.deviceStatus & kCurrentFixed, kCurrentFixed);
    EXPECT_EQ(command(3).deviceStatus & kCurrentFixed, 0);
    EXPECT_FLOAT_EQ(loopCurrent(), 8.0f);
}

TEST_F(SimOutputCommands, LoopTrimsNeedTheMatchingFixedCurrent)
{
    struct Case {
        const char* name;
        float fixed;  // 0: not in fixed current mode
        std::uint8_t command;
        float measured;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"4 mA trim outside fixed mode", 0.0f, 45, 4.0f, 9},
        {"4 mA trim at 12 mA", 12.0f, 45, 4.0f, 9},
        {"20 mA trim at 4 mA", 4.0f, 46, 20.0f, 9},
        {"4 mA, meter 4.3", 4.0f, 45, 4.3f, 0},
        {"4 mA, meter 4.5", 4.0f, 45, 4.5f, 0},
        {"4 mA, meter 4.6", 4.0f, 45, 4.6f, 3},
        {"4 mA, meter 3.4", 4.0f, 45, 3.4f, 4},
        {"20 mA, meter 19.8", 20.0f, 46, 19.8f, 0},
        {"20 mA, meter 20.6", 20.0f, 46, 20.6f, 3},
        {"20 mA, meter 19.4", 20.0f, 46, 19.4f, 4},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(command(40, Float(c.fixed)).responseCode, 0) << c.name;
        const Answer answer = command(c.command, Float(c.measured));
        EXPECT_EQ(answer.responseCode, c.code) << c.name;
        if (c.code == 0) {
            EXPECT_EQ(answer.data, Float(c.measured)) << c.name;
        }
    }
}

TEST_F(SimOutputCommands, TrimsCorrectWhatAMeterInTheLoopReads)
{
    setup().process.outputError4Ma = 0.3f;
    setup().process.outputError20Ma = -0.2f;
    ASSERT_EQ(command(40, Float(4.0f)).responseCode, 0);
    EXPECT_FLOAT_EQ(device().model().analogOutputMa(), 4.3f);
    ASSERT_EQ(command(45, Float(4.3f)).responseCode, 0);
    EXPECT_NEAR(device().model().analogOutputMa(), 4.0f, 1e-5);

    ASSERT_EQ(command(40, Float(20.0f)).responseCode, 0);
    EXPECT_FLOAT_EQ(device().model().analogOutputMa(), 19.8f);
    ASSERT_EQ(command(46, Float(19.8f)).responseCode, 0);
    EXPECT_NEAR(device().model().analogOutputMa(), 20.0f, 1e-5);

    ASSERT_EQ(command(40, Float(12.0f)).responseCode, 0);
    EXPECT_NEAR(device().model().analogOutputMa(), 12.0f, 1e-5);
}

TEST_F(SimOutputCommands, MultidropParksTheCurrentAndRefusesOutputCommands)
{
    setup().state.identity.pollAddress = 2;
    EXPECT_TRUE(raw(simtest::ShortRequest(249, 0)).empty());
    EXPECT_EQ(exchange(simtest::ShortRequest(249, 2)).address, (Bytes{0x02}));
    const Answer values = command(3);
    EXPECT_FLOAT_EQ(FloatAt(values.data, 0), 4.0f);
    EXPECT_EQ(values.deviceStatus & kCurrentFixed, kCurrentFixed);
    for (std::uint8_t number : {40, 45, 46})
        EXPECT_EQ(command(number, Float(4.0f)).responseCode, 11) << int(number);
}

TEST_F(SimOutputCommands, LoopCurrentFollowsTheRangeAndSaturates)
{
    struct Case {
        float process;
        float current;
        std::uint8_t status;
    };
    const Case cases[] = {
        {0.0f, 4.0f, 0},
        {50.0f, 12.0f, 0},
        {100.0f, 20.0f, 0},
        {101.0f, 20.16f, 0},
        {150.0f, 20.5f, kSaturated},
        {-10.0f, 3.7f, kSaturated},
        {900.0f, 20.5f, kSaturated | kOutOfLimits},
    };
    command(0);  // the cold start bit goes with the first answer
    for (const Case& c : cases) {
        setup().process.value = c.process;
        const Answer answer = command(3);
        EXPECT_NEAR(FloatAt(answer.data, 0), c.current, 1e-4) << c.process;
        EXPECT_EQ(answer.deviceStatus, c.status) << c.process;
    }
}

TEST_F(SimOutputCommands, SensorFailureDrivesTheAlarmCurrent)
{
    setup().faults.sensorFailure = sim::SensorFailure::Open;
    command(0);  // the cold start bit goes with the first answer
    Answer values = command(3);
    EXPECT_EQ(values.deviceStatus, kMalfunction | kMoreStatus | kOutOfLimits);
    EXPECT_FLOAT_EQ(FloatAt(values.data, 0), 21.0f);  // high alarm
    EXPECT_EQ(BitsAt(values.data, 5), kNotANumberBits);
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0, 0, 0x01}));

    setup().faults.sensorFailure = sim::SensorFailure::Short;
    setup().state.config.alarmSelect = 1;
    values = command(3);
    EXPECT_FLOAT_EQ(FloatAt(values.data, 0), 3.5f);  // low alarm
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0, 0, 0x02}));
    // The electronics temperature is still measured.
    EXPECT_FLOAT_EQ(FloatAt(command(33, {1}).data, 2), 31.5f);
}

TEST_F(SimOutputCommands, NoiseStaysWithinItsSpreadAndRepeatsWithTheSeed)
{
    sim::SimulatorSetup noisy;
    noisy.process.noise = 0.05f;
    sim::Device first(noisy);
    sim::Device second(noisy);
    bool varied = false;
    float previous = 0;
    for (int i = 0; i < 20; ++i) {
        first.model().sampleProcess();
        second.model().sampleProcess();
        const float reading = first.model().measuredInput();
        EXPECT_NEAR(reading, 25.0f, 0.05f);
        EXPECT_EQ(reading, second.model().measuredInput());
        varied = varied || (i > 0 && reading != previous);
        previous = reading;
    }
    EXPECT_TRUE(varied);
}

TEST_F(SimCalibration, InformationOfANewTransmitter)
{
    // Request: 00 sensor | 20 °C.
    const Answer answer = command(142, {0x00, 0x20});
    ASSERT_EQ(answer.responseCode, 0);
    ASSERT_EQ(answer.data.size(), 19u);
    EXPECT_EQ(answer.data[0], 0);                         // echo
    EXPECT_EQ(answer.data[1], 32);                        // units
    EXPECT_EQ(answer.data[2], 0);                         // factory calibration
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 3), 850.0f);     // upper bound
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 7), -200.0f);    // lower bound
    EXPECT_EQ(BitsAt(answer.data, 11), kNotANumberBits);  // no user trim points
    EXPECT_EQ(BitsAt(answer.data, 15), kNotANumberBits);

    const Answer fahrenheit = command(142, {0x00, 33});
    EXPECT_FLOAT_EQ(FloatAt(fahrenheit.data, 3), 1562.0f);
    EXPECT_FLOAT_EQ(FloatAt(fahrenheit.data, 7), -328.0f);
    EXPECT_FLOAT_EQ(FloatAt(command(142, {0x00, 37}).data, 3), 390.4811f);
    EXPECT_EQ(command(142, {0x00, 36}).responseCode, 12);  // mV for a resistance thermometer
    EXPECT_EQ(command(142, {0x01, 32}).responseCode, 9);
}

TEST_F(SimCalibration, UnitsAllowedPerSensorKind)
{
    struct Case {
        std::uint8_t sensor;
        std::uint8_t connection;
        std::uint8_t units;
        bool allowed;
    };
    const Case cases[] = {
        {1, 3, 32, true},    {1, 3, 35, true},   {1, 3, 37, true},    {1, 3, 36, false},
        {132, 2, 33, true},  {132, 2, 36, true}, {132, 2, 37, false}, {128, 2, 36, true},
        {128, 2, 32, false}, {0, 4, 37, true},   {0, 4, 36, false},
    };
    for (const Case& c : cases) {
        setup().state.config.sensorType = c.sensor;
        setup().state.config.sensorConnection = c.connection;
        EXPECT_EQ(command(142, {0, c.units}).responseCode, c.allowed ? 0 : 12)
            << int(c.sensor) << "/" << int(c.units);
    }
}

TEST_F(SimCalibration, TrimPointsAreCheckedAgainstTheBounds)
{
    struct Case {
        const char* name;
        std::uint8_t command;
        Bytes request;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"upper above the bounds", 130, trim(900), 9},
        {"lower below the bounds", 131, trim(-250), 10},
        {"millivolt units", 131, trim(25, 36), 12},
        {"unknown units", 130, trim(25, 99), 12},
        {"too short", 131, {32, 0x41}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(command(c.command, c.request).responseCode, c.code) << c.name;
    EXPECT_EQ(device().state().calibration.mode, 0);

    setup().faults.sensorFailure = sim::SensorFailure::Open;
    EXPECT_EQ(command(131, trim(25)).responseCode, 13);
}

TEST_F(SimCalibration, OnePointTrimShiftsTheReadingAndSwitchesToUserMode)
{
    const Answer answer = command(131, trim(25.2f));
    ASSERT_EQ(answer.responseCode, 0);
    EXPECT_EQ(answer.data, trim(25.2f));
    EXPECT_NEAR(FloatAt(command(3).data, 5), 25.2f, 1e-4);

    const Answer info = command(142, {0, 32});
    EXPECT_EQ(info.data[2], 1);
    EXPECT_EQ(BitsAt(info.data, 11), kNotANumberBits);  // no upper point
    EXPECT_NEAR(FloatAt(info.data, 15), 25.2f, 1e-4);   // lower point
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0, 0, 0}));
}

TEST_F(SimCalibration, TwoPointTrimSetsTheSlope)
{
    ASSERT_EQ(command(131, trim(25.0f)).responseCode, 0);
    setup().process.value = 80.0f;
    ASSERT_EQ(command(130, trim(81.1f)).responseCode, 0);
    setup().process.value = 50.0f;
    // Through (25 → 25.0) and (80 → 81.1): slope 1.02.
    EXPECT_NEAR(FloatAt(command(3).data, 5), 50.5f, 1e-3);
}

TEST_F(SimCalibration, AFarTrimPointLatchesTheCalibrationErrorUntilAReset)
{
    // 2 % of the PT100 span (1050 °C) is 21 °C; the sensor reads 25 °C.
    const Answer far = command(130, trim(60.0f));
    ASSERT_EQ(far.responseCode, 0);
    EXPECT_EQ(command(3).deviceStatus & kMoreStatus, kMoreStatus);
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0x08, 0x04, 0}));
    EXPECT_EQ(command(142, {0, 32}).data[2], 0);  // nothing was trimmed
    EXPECT_FLOAT_EQ(FloatAt(command(3).data, 5), 25.0f);

    // Back to factory calibration: the error stays latched ...
    ASSERT_EQ(command(145, {0, 0}).data, (Bytes{0, 0}));
    EXPECT_EQ(command(48).data[2], 0x08);
    // ... until the device restarts.
    ASSERT_EQ(command(42).responseCode, 0);
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0, 0, 0}));
}

TEST_F(SimCalibration, CalibrationMode)
{
    ASSERT_EQ(command(131, trim(25.5f)).responseCode, 0);
    ASSERT_EQ(command(145, {0, 0}).responseCode, 0);  // factory: the trim is gone
    EXPECT_FLOAT_EQ(FloatAt(command(3).data, 5), 25.0f);
    EXPECT_EQ(command(142, {0, 32}).data[2], 0);
    EXPECT_EQ(command(145, {0, 1}).data, (Bytes{0, 1}));
    EXPECT_EQ(command(142, {0, 32}).data[2], 1);
    EXPECT_EQ(command(145, {0, 2}).responseCode, 12);
    EXPECT_EQ(command(145, {1, 0}).responseCode, 9);
}

}  // namespace
