#include "hart/command_table.h"
#include "transmitter/transmitter_fixture.h"

using namespace transmitter;

namespace {

using TransmitterCalibration = TransmitterTest;

const Payload kLevels = Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f);

}  // namespace

TEST_F(TransmitterCalibration, FixedCurrentEnterAndExit)
{
    EXPECT_TRUE(xmtr.SetFixedCurrent());  // not set: nothing to do
    EXPECT_TRUE(fake.writtenFrames().empty());

    xmtr.fixedCurrent = 12.0f;
    script({Answer(40, Payload().f32(11.998f)), Answer(40, Payload().f32(0.0f))});
    EXPECT_TRUE(xmtr.SetFixedCurrent());
    EXPECT_EQ(sentData(0), Bytes(Payload().f32(12.0f)));
    EXPECT_EQ(xmtr.fixedCurrent, 11.998f);
    EXPECT_TRUE(xmtr.ExitFixedCurrent());
    EXPECT_EQ(sentData(1), (Bytes{0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(xmtr.fixedCurrent, 11.998f);  // the exit's echo is discarded
    EXPECT_TRUE(user.messages.empty());
}

// Here only a clean 0 is success: the warning 8 is a failure, with its message.
TEST_F(TransmitterCalibration, WarningCountsAsFailure)
{
    xmtr.fixedCurrent = 4.0f;
    script({Answer(40, Payload().f32(4.0f), 8), Refusal(40, 11), Answer(42, Payload(), 8),
            Refusal(48, 8)});
    EXPECT_FALSE(xmtr.SetFixedCurrent());
    EXPECT_FALSE(xmtr.ExitFixedCurrent());
    EXPECT_FALSE(xmtr.ResetDevice());
    const AdditionalStatus status = xmtr.ReadAdditionalStatus();
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(user.ids(), (std::vector<int>{1007, 1026, 1007, 1007}));
}

TEST_F(TransmitterCalibration, LoopTrimsReturnTheResult)
{
    struct Case {
        LoopTrimResult (CTransmitter::*trim)();
        float CTransmitter::*measured;
        std::uint8_t command;
    };
    const Case cases[] = {
        {&CTransmitter::TrimLoopZero, &CTransmitter::measured4mA, 45},
        {&CTransmitter::TrimLoopGain, &CTransmitter::measured20mA, 46},
    };
    for (const Case& c : cases) {
        FakeDriverControl fresh;
        user.messages.clear();
        LoopTrimResult r = (xmtr.*(c.trim))();
        EXPECT_FALSE(r.done);  // not set: nothing sent, not done, result 0
        EXPECT_EQ(r.result, 0);
        EXPECT_TRUE(fresh.writtenFrames().empty());

        xmtr.*(c.measured) = 4.02f;
        script({Refusal(c.command, 3), Refusal(c.command, 4), Refusal(c.command, 9),
                Answer(c.command, Payload().f32(4.01f))});
        EXPECT_EQ((xmtr.*(c.trim))().result, 3);
        EXPECT_EQ((xmtr.*(c.trim))().result, 4);
        EXPECT_EQ((xmtr.*(c.trim))().result, 9);
        r = (xmtr.*(c.trim))();
        EXPECT_TRUE(r.done);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(xmtr.*(c.measured), 4.01f);
        EXPECT_EQ(sentData(0), Bytes(Payload().f32(4.02f)));
        EXPECT_EQ(user.ids(), std::vector<int>{1027});  // 3 and 4 are the caller's to explain
    }
}

TEST_F(TransmitterCalibration, CalibrationModeWrite)
{
    EXPECT_TRUE(xmtr.WriteCalibrationMode());  // mode 2: neither, nothing sent
    EXPECT_TRUE(fake.writtenFrames().empty());
    xmtr.calibrationMode = 1;
    script({Answer(145, Payload().u8(0).u8(0)), Refusal(145, 12)});
    EXPECT_TRUE(xmtr.WriteCalibrationMode());
    EXPECT_EQ(sentData(0), (Bytes{0, 1}));
    EXPECT_EQ(xmtr.calibrationMode, 0);
    EXPECT_FALSE(xmtr.WriteCalibrationMode());
    EXPECT_EQ(user.ids(), std::vector<int>{1031});
}

TEST_F(TransmitterCalibration, CalibrationInfo)
{
    xmtr.trimUnits = 38;
    EXPECT_TRUE(xmtr.ReadCalibrationInfo());
    EXPECT_TRUE(fake.writtenFrames().empty());

    xmtr.trimUnits = 33;
    script(
        {Answer(142, Payload().u8(0).u8(33).u8(1).f32(1562.0f).f32(-328.0f).f32(500.0f).f32(32.0f)),
         Refusal(142, 12)});
    EXPECT_TRUE(xmtr.ReadCalibrationInfo());
    EXPECT_EQ(sentData(0), (Bytes{0, 33}));
    EXPECT_EQ(xmtr.trimUnits, 33);
    EXPECT_EQ(xmtr.calibrationMode, 1);
    EXPECT_EQ(xmtr.calUpperBound, 1562.0f);
    EXPECT_EQ(xmtr.calLowerBound, -328.0f);
    EXPECT_EQ(xmtr.trimUpperPoint, 500.0f);
    EXPECT_EQ(xmtr.trimLowerPoint, 32.0f);

    EXPECT_FALSE(xmtr.ReadCalibrationInfo());
    EXPECT_EQ(xmtr.trimUnits, 38);
    EXPECT_EQ(xmtr.calibrationMode, 2);
    for (float v :
         {xmtr.calUpperBound, xmtr.calLowerBound, xmtr.trimUpperPoint, xmtr.trimLowerPoint})
        EXPECT_EQ(BitsOf(v), kNotSetFloatBits);
    EXPECT_EQ(user.ids(), std::vector<int>{1030});
}

TEST_F(TransmitterCalibration, SensorTrimPoints)
{
    struct Case {
        bool (CTransmitter::*trim)();
        float CTransmitter::*point;
        std::uint8_t command;
    };
    const Case cases[] = {
        {&CTransmitter::TrimSensorUpper, &CTransmitter::trimUpperPoint, 130},
        {&CTransmitter::TrimSensorLower, &CTransmitter::trimLowerPoint, 131},
    };
    for (const Case& c : cases) {
        FakeDriverControl fresh;
        user.messages.clear();
        xmtr.trimUnits = 32;
        xmtr.*(c.point) = kNotSetFloat;
        EXPECT_TRUE((xmtr.*(c.trim))());
        xmtr.*(c.point) = 100.0f;
        xmtr.trimUnits = 38;
        EXPECT_TRUE((xmtr.*(c.trim))());
        EXPECT_TRUE(fresh.writtenFrames().empty());

        xmtr.trimUnits = 32;
        script({Answer(c.command, Payload().u8(32).f32(100.5f)), Refusal(c.command, 9)});
        EXPECT_TRUE((xmtr.*(c.trim))());
        EXPECT_EQ(sentData(0), Bytes(Payload().u8(32).f32(100.0f)));
        EXPECT_EQ(xmtr.*(c.point), 100.5f);
        EXPECT_FALSE((xmtr.*(c.trim))());
        EXPECT_EQ(xmtr.trimUnits, 38);
        EXPECT_TRUE(IsNotSet(xmtr.*(c.point)));
        EXPECT_EQ(user.ids(), std::vector<int>{1028});
    }
}

TEST_F(TransmitterCalibration, ReadsReturnWhatTheyReadAndStoreNothing)
{
    script({Answer(189, kLevels), Answer(48, Payload().u8(1).u8(2).u8(0x88).u8(0x04).u8(3)),
            Answer(15, Payload().u8(0).u8(0).u8(35).f32(1.0f).f32(0.0f).f32(1.0f).u8(0).u8(0)),
            Answer(140, Payload().u8(0).u8(132).u8(2)),
            Answer(14, Payload().u24(0).u8(33).f32(2501.6f).f32(-292.0f).f32(1.0f)),
            Answer(33, Payload()
                           .u8(1)
                           .u8(32)
                           .f32(25.0f)
                           .u8(2)
                           .u8(37)
                           .f32(110.5f)
                           .u8(250)
                           .u8(250)
                           .f32(0)
                           .u8(250)
                           .u8(250)
                           .f32(0))});
    const LevelPair levels = xmtr.ReadAlarmLevels();
    EXPECT_EQ(levels.high, 21.0f);
    EXPECT_EQ(levels.low, 3.6f);
    const AdditionalStatus status = xmtr.ReadAdditionalStatus();
    EXPECT_TRUE(status.ok);
    EXPECT_EQ(Bytes(status.bytes, status.bytes + 5), (Bytes{1, 2, 0x88, 0x04, 3}));
    EXPECT_EQ(xmtr.ReadRangeUnits(), 35);
    EXPECT_EQ(xmtr.ReadSensorType(), 132);
    EXPECT_EQ(sentData(3), Bytes{0});
    const SensorLimitsReading limits = xmtr.ReadSensorLimits();
    EXPECT_TRUE(limits.ok);
    EXPECT_EQ(limits.units, 33);
    EXPECT_EQ(limits.upper, 2501.6f);
    EXPECT_EQ(limits.lower, -292.0f);
    const MeasuredValue measured = xmtr.ReadMeasuredValue();
    EXPECT_EQ(sentData(5), (Bytes{1, 2, 250, 250}));
    EXPECT_TRUE(measured.ok);
    EXPECT_EQ(measured.units, 37);
    EXPECT_EQ(measured.value, 110.5f);

    EXPECT_TRUE(IsNotSet(xmtr.highAlmVal));
    EXPECT_EQ(xmtr.rangeUnits, 38);
    EXPECT_EQ(xmtr.sensorType, 251);
    EXPECT_EQ(xmtr.sensorLimitUnits, 38);
    EXPECT_TRUE(IsNotSet(xmtr.sensorTemp));
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterCalibration, FailedReadsGiveTheUnknownValues)
{
    script({Refusal(189, 16), Refusal(15, 8), Refusal(140, 16), Refusal(14, 8), Refusal(33, 16)});
    const LevelPair levels = xmtr.ReadAlarmLevels();
    EXPECT_TRUE(IsNotSet(levels.high) && IsNotSet(levels.low));
    EXPECT_EQ(xmtr.ReadRangeUnits(), 38);
    EXPECT_EQ(xmtr.ReadSensorType(), 251);
    const SensorLimitsReading limits = xmtr.ReadSensorLimits();
    EXPECT_FALSE(limits.ok);
    EXPECT_EQ(limits.units, 38);
    EXPECT_TRUE(IsNotSet(limits.upper) && IsNotSet(limits.lower));
    const MeasuredValue measured = xmtr.ReadMeasuredValue();
    EXPECT_FALSE(measured.ok);
    EXPECT_EQ(measured.units, 38);
    EXPECT_TRUE(IsNotSet(measured.value));
    EXPECT_EQ(user.ids(), (std::vector<int>{1021, 1007, 1021, 1007, 1021}));
}
