#include "hart/command_table.h"
#include "transmitter/transmitter_fixture.h"

using namespace transmitter;

namespace {

using TransmitterReadGroups = TransmitterTest;

const Bytes kTagAnswer =
    Answer(13, Payload().ascii("TT-1", 8).ascii("DESCRIPTOR", 16).u8(24).u8(5).u8(121));
const Bytes kSensorAnswer = Answer(140, Payload().u8(0).u8(1).u8(3));
const Bytes kRangeAnswer =
    Answer(15, Payload().u8(1).u8(0).u8(32).f32(150.0f).f32(-50.0f).f32(2.5f).u8(1).u8(250), 8);
const Bytes kLimitsAnswer =
    Answer(14, Payload().u24(0x123456).u8(32).f32(850.0f).f32(-200.0f).f32(10.0f));

std::u16string TagOf(const CTransmitter& t)
{
    return std::u16string(t.tag, t.tag + kTagLength + 1);
}

}  // namespace

TEST_F(TransmitterReadGroups, TagAndSensorFourCharacterTagReadsBackPadded)
{
    xmtr.tagFailed = xmtr.sensorTypeFailed = xmtr.sensorConnectionFailed = 1;
    script({kTagAnswer, kSensorAnswer});
    EXPECT_EQ(xmtr.ReadTagAndSensor(), 1);
    EXPECT_EQ(TagOf(xmtr), std::u16string(u"TT-1    \0", 9));
    EXPECT_EQ(xmtr.xmtrAsmDay, 24);
    EXPECT_EQ(xmtr.xmtrAsmMonth, 5);
    EXPECT_EQ(xmtr.xmtrAsmYear, 121);
    EXPECT_EQ(xmtr.sensorType, 1);
    EXPECT_EQ(xmtr.sensorConnection, 3);
    EXPECT_EQ(xmtr.tagFailed + xmtr.sensorTypeFailed + xmtr.sensorConnectionFailed, 0);
    EXPECT_EQ(sentCommands(), (std::vector<int>{13, 140}));
    EXPECT_EQ(sentData(1), Bytes{0x00});
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterReadGroups, TagReadFailingClearsTagAndDateAndSkipsTheRest)
{
    xmtr.tag[0] = u'X';
    xmtr.xmtrAsmDay = 3;
    xmtr.sensorType = 7;
    script({Refusal(13, 16)});
    EXPECT_EQ(xmtr.ReadTagAndSensor(), 0);
    EXPECT_EQ(TagOf(xmtr), std::u16string(9, u'\0'));
    EXPECT_EQ(xmtr.xmtrAsmDay, 0);
    EXPECT_EQ(xmtr.sensorType, 7);
    EXPECT_EQ(sentCommands(), std::vector<int>{13});
    EXPECT_EQ(user.ids(), std::vector<int>{1021});
}

TEST_F(TransmitterReadGroups, SensorReadFailingKeepsTheTag)
{
    script({kTagAnswer, Refusal(140, 64)});
    EXPECT_EQ(xmtr.ReadTagAndSensor(), 0);
    EXPECT_EQ(xmtr.tag[0], u'T');
    EXPECT_EQ(xmtr.xmtrAsmMonth, 5);
    EXPECT_EQ(xmtr.sensorType, 251);
    EXPECT_EQ(xmtr.sensorConnection, 251);
    EXPECT_EQ(user.ids(), std::vector<int>{1023});
}

TEST_F(TransmitterReadGroups, RangeWarningIsAcceptedSilentlyAndLimitsFollow)
{
    xmtr.dampingFailed = xmtr.upperSensorLimitFailed = 1;
    script({kRangeAnswer, kLimitsAnswer});
    EXPECT_EQ(xmtr.ReadRangeAndLimits(), 1);
    EXPECT_EQ(xmtr.alarmSelect, 1);
    EXPECT_EQ(xmtr.rangeUnits, 32);
    EXPECT_EQ(xmtr.upperRangeValue, 150.0f);
    EXPECT_EQ(xmtr.lowerRangeValue, -50.0f);
    EXPECT_EQ(xmtr.damping, 2.5f);
    EXPECT_EQ(xmtr.writeProtect, 1);
    EXPECT_EQ(xmtr.sensorLimitUnits, 32);
    EXPECT_EQ(xmtr.upperSensorLimit, 850.0f);
    EXPECT_EQ(xmtr.lowerSensorLimit, -200.0f);
    EXPECT_EQ(xmtr.dampingFailed + xmtr.upperSensorLimitFailed, 0);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterReadGroups, RangeReadFailingSetsTheUnknownValues)
{
    script({kRangeAnswer, kLimitsAnswer});
    ASSERT_EQ(xmtr.ReadRangeAndLimits(), 1);
    FakeDriverControl again;  // fresh script: nothing answers now
    EXPECT_EQ(xmtr.ReadRangeAndLimits(), 0);
    EXPECT_EQ(BitsOf(xmtr.upperRangeValue), kNotSetFloatBits);
    EXPECT_EQ(BitsOf(xmtr.lowerRangeValue), kNotSetFloatBits);
    EXPECT_EQ(BitsOf(xmtr.damping), kNotSetFloatBits);
    EXPECT_EQ(xmtr.rangeUnits, 38);
    EXPECT_EQ(xmtr.alarmSelect, 2);
    EXPECT_EQ(xmtr.writeProtect, 2);
    EXPECT_EQ(xmtr.sensorLimitUnits, 32);  // the limits were not read again
    EXPECT_EQ(user.ids(), std::vector<int>{906});
}

TEST_F(TransmitterReadGroups, LimitsReadFailingKeepsTheRange)
{
    script({kRangeAnswer, Refusal(14, 5)});
    EXPECT_EQ(xmtr.ReadRangeAndLimits(), 0);
    EXPECT_EQ(xmtr.upperRangeValue, 150.0f);
    EXPECT_EQ(xmtr.sensorLimitUnits, 38);
    EXPECT_EQ(BitsOf(xmtr.upperSensorLimit), kNotSetFloatBits);
    EXPECT_EQ(user.ids(), std::vector<int>{1003});
}

TEST_F(TransmitterReadGroups, FilterAndAssemblyNumber)
{
    script({Answer(150, Payload().u8(1)), Answer(16, Payload().u24(0xABCDEF))});
    EXPECT_EQ(xmtr.ReadFilterAndAssemblyNumber(), 1);
    EXPECT_EQ(xmtr.lineFilter, 1);
    EXPECT_EQ(xmtr.finalAssemblyNumber, 0xABCDEF);

    script({Answer(150, Payload().u8(0)), Refusal(16, 2)});
    EXPECT_EQ(xmtr.ReadFilterAndAssemblyNumber(), 0);
    EXPECT_EQ(xmtr.lineFilter, 0);
    EXPECT_EQ(xmtr.finalAssemblyNumber, 0);

    script({Refusal(150, 2)});
    EXPECT_EQ(xmtr.ReadFilterAndAssemblyNumber(), 0);
    EXPECT_EQ(xmtr.lineFilter, 2);
    EXPECT_EQ(user.ids(), (std::vector<int>{1000, 1000}));
}

TEST_F(TransmitterReadGroups, AlarmLevelsVariablesAndLoopCurrent)
{
    script({Answer(189, Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f)),
            Answer(33, Payload()
                           .u8(1)
                           .u8(32)
                           .f32(24.5f)
                           .u8(2)
                           .u8(33)
                           .f32(98.25f)
                           .u8(250)
                           .u8(250)
                           .f32(0)
                           .u8(250)
                           .u8(250)
                           .f32(0)),
            Answer(3, Payload().f32(12.0f).u8(32).f32(98.25f))});
    EXPECT_EQ(xmtr.ReadAlarmLevelsAndVariables(), 1);
    EXPECT_EQ(sentData(1), (Bytes{1, 2, 250, 250}));
    EXPECT_EQ(xmtr.highAlmVal, 21.0f);
    EXPECT_EQ(xmtr.lowAlmVal, 3.6f);
    EXPECT_EQ(xmtr.highSatVal, 20.5f);
    EXPECT_EQ(xmtr.lowSatVal, 3.8f);
    EXPECT_EQ(xmtr.xmtrTempUnits, 32);
    EXPECT_EQ(xmtr.xmtrTemp, 24.5f);
    EXPECT_EQ(xmtr.sensorTempUnits, 33);
    EXPECT_EQ(xmtr.sensorTemp, 98.25f);
    EXPECT_EQ(xmtr.loopCurrent, 12.0f);

    script({Answer(189, Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f)), Refusal(33, 2)});
    EXPECT_EQ(xmtr.ReadAlarmLevelsAndVariables(), 0);
    EXPECT_EQ(xmtr.sensorTempUnits, 38);
    EXPECT_EQ(xmtr.xmtrTempUnits, 38);
    EXPECT_TRUE(IsNotSet(xmtr.sensorTemp));
    EXPECT_TRUE(IsNotSet(xmtr.xmtrTemp));
    EXPECT_EQ(xmtr.loopCurrent, 12.0f);  // not reached
}

TEST_F(TransmitterReadGroups, FailureStatusSensorIndicationWins)
{
    struct Case {
        std::uint8_t byte4;
        std::uint8_t deviceStatus;
        int sensor;
        int xmtrFail;
    };
    const Case cases[] = {
        {0x02, 0x80, 1, 0}, {0x01, 0x00, 1, 0}, {0x00, 0x80, 0, 1}, {0x04, 0x7F, 0, 0}};
    for (const Case& c : cases) {
        script({Answer(48, Payload().u8(0xFF).u8(0xFF).u8(0xFF).u8(0xFF).u8(c.byte4), 0,
                       c.deviceStatus)});
        EXPECT_EQ(xmtr.ReadFailureStatus(), 1);
        EXPECT_EQ(xmtr.sensorFailure, c.sensor) << int(c.byte4);
        EXPECT_EQ(xmtr.xmtrFailure, c.xmtrFail) << int(c.byte4);
    }
    script({Refusal(48, 16)});
    EXPECT_EQ(xmtr.ReadFailureStatus(), 0);
    EXPECT_EQ(xmtr.sensorFailure + xmtr.xmtrFailure, 0);
}

// Register answers: operation, 0, register, then four data bytes.
Bytes RegisterAnswer(std::uint8_t reg, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                     std::uint8_t d3)
{
    return Answer(139, Payload().u8(1).u8(0).u8(reg).u8(d0).u8(d1).u8(d2).u8(d3));
}

TEST_F(TransmitterReadGroups, ThermometerRecordCarriesEarlierAnswers)
{
    xmtr.headType = 0x100;
    script({RegisterAnswer(108, 3, 7, 0xA1, 0xA2), RegisterAnswer(76, 2, 0xB1, 0xB2, 0xB3),
            RegisterAnswer(74, 5, 0xC1, 0xC2, 0xC3), RegisterAnswer(75, 16, 0xD1, 0xD2, 0xD3),
            RegisterAnswer(110, 0x01, 0x2C, 0xE2, 0xE3), RegisterAnswer(77, 9, 11, 23, 0xF3),
            RegisterAnswer(194, 0x01, 0x02, 0x03, 0x04)});
    EXPECT_EQ(xmtr.ReadThermometerParams(), 1);

    const std::vector<Bytes> requests = {
        {1, 0, 108, 0, 0, 0, 0},
        {1, 0, 76, 3, 7, 0xA1, 0xA2},     // the register-108 answer's data
        {1, 0, 74, 3, 0xB1, 0xB2, 0xB3},  // head type byte went straight to the parameter
        {1, 0, 75, 5, 0xC1, 0xC2, 0xC3},
        {1, 0, 110, 5, 0xD1, 0xD2, 0xD3},  // execution byte went straight to the parameter
        {1, 0, 77, 0x01, 0x2C, 0xE2, 0xE3},
        {1, 0, 194, 0x01, 0x2C, 0xE2, 0xF3},  // date bytes went straight to the parameters
    };
    for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(sentData(i), requests[i]) << i;

    EXPECT_EQ(xmtr.armatureLetter, 3);
    EXPECT_EQ(xmtr.armatureNumber, 7);
    EXPECT_EQ(xmtr.headType, 0x102);  // only the low byte comes from the register
    EXPECT_EQ(xmtr.cableEntry, 5);
    EXPECT_EQ(xmtr.execution, 16);
    EXPECT_EQ(xmtr.mountingLength, 300);
    EXPECT_EQ(xmtr.finalAsmDay, 9);
    EXPECT_EQ(xmtr.finalAsmMonth, 11);
    EXPECT_EQ(xmtr.finalAsmYear, 23);
    EXPECT_EQ(xmtr.thermometerSerial, 0x010203);
}

TEST_F(TransmitterReadGroups, ThermometerFailureStopsTheGroup)
{
    xmtr.thermometerSerial = 77;
    script({RegisterAnswer(108, 2, 4, 0, 0), RegisterAnswer(76, 1, 0, 0, 0), Refusal(139, 2)});
    EXPECT_EQ(xmtr.ReadThermometerParams(), 0);
    EXPECT_EQ(xmtr.armatureLetter, 2);
    EXPECT_EQ(xmtr.headType, 1);
    EXPECT_EQ(xmtr.cableEntry, 0);  // the failing step's value keeps its contents
    EXPECT_EQ(xmtr.thermometerSerial, 77);
    EXPECT_EQ(sentCommands().size(), 3u);
    EXPECT_EQ(user.ids(), std::vector<int>{1000});

    script({RegisterAnswer(108, 2, 4, 0, 0), RegisterAnswer(76, 1, 0, 0, 0),
            RegisterAnswer(74, 1, 0, 0, 0), RegisterAnswer(75, 1, 0, 0, 0),
            RegisterAnswer(110, 0, 50, 0, 0), RegisterAnswer(77, 1, 1, 20, 0), Refusal(139, 64)});
    EXPECT_EQ(xmtr.ReadThermometerParams(), 0);
    EXPECT_EQ(xmtr.mountingLength, 50);
    EXPECT_EQ(xmtr.thermometerSerial, 0);
}
