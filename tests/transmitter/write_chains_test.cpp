#include "hart/command_table.h"
#include "transmitter/transmitter_fixture.h"

using namespace transmitter;

namespace {

using TransmitterWriteChains = TransmitterTest;

const Bytes kCurrentSensor = Answer(140, Payload().u8(0).u8(1).u8(3));  // PT100, 3 wires
// Range 0…100 °C, damping 1 s; limits of a PT100 in °C.
const Payload kCurrentRangeData =
    Payload().u8(0).u8(0).u8(32).f32(100.0f).f32(0.0f).f32(1.0f).u8(0).u8(0);
const Bytes kCurrentRange = Answer(15, kCurrentRangeData);
const Bytes kPt100Limits = Answer(14, Payload().u24(0).u8(32).f32(850.0f).f32(-200.0f).f32(10.0f));

Bytes RangeEcho(const Bytes& request) { return answers::LongAnswer(35, 0, 0, request); }

}  // namespace

TEST_F(TransmitterWriteChains, NothingSetSendsNothing)
{
    EXPECT_EQ(xmtr.WriteSensorConfig(), 1);
    EXPECT_EQ(xmtr.WriteRangeUnits(), 1);
    EXPECT_EQ(xmtr.WriteRangeValues(), 1);
    EXPECT_EQ(xmtr.WriteDamping(), 1);
    EXPECT_EQ(xmtr.WriteTag(), 1);
    EXPECT_EQ(xmtr.WriteProtectOff(), 1);
    EXPECT_EQ(xmtr.WriteAlarmSelect(), 1);
    EXPECT_EQ(xmtr.WriteAlarmLevels(), 1);
    EXPECT_EQ(xmtr.WriteLineFilter(), 1);
    EXPECT_TRUE(fake.writtenFrames().empty());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterWriteChains, OnlyConnectionChosenKeepsTheDevicesSensorType)
{
    xmtr.sensorConnection = 4;
    script({kCurrentSensor, Answer(141, Payload().u8(0).u8(1).u8(4), 8)});
    EXPECT_EQ(xmtr.WriteSensorConfig(), 1);
    EXPECT_EQ(sentCommands(), (std::vector<int>{140, 141}));
    EXPECT_EQ(sentData(1), (Bytes{0, 1, 4}));
    EXPECT_EQ(xmtr.sensorType, 251);  // the parameter set keeps the user's choice
    EXPECT_EQ(xmtr.sensorConnection, 4);
    EXPECT_TRUE(user.messages.empty());  // the warning 8 to command 141 shows nothing
}

TEST_F(TransmitterWriteChains, SensorConfigRefusalsFlagTheNamedValue)
{
    struct Case {
        std::uint8_t result;
        std::int32_t type;
        int typeFlag;
        int connectionFlag;
        int message;
    };
    const Case cases[] = {
        {11, 1, 1, 0, 1014},
        {12, 1, 0, 1, 1015},
        {7, 1, 1, 1, 1004},
        {7, 251, 0, 1, 1004},
    };
    for (const Case& c : cases) {
        user.messages.clear();
        xmtr.sensorType = c.type;
        xmtr.sensorConnection = 3;
        script({kCurrentSensor, Refusal(141, c.result)});
        EXPECT_EQ(xmtr.WriteSensorConfig(), 0);
        EXPECT_EQ(xmtr.sensorTypeFailed, c.typeFlag) << int(c.result);
        EXPECT_EQ(xmtr.sensorConnectionFailed, c.connectionFlag) << int(c.result);
        EXPECT_EQ(user.ids(), std::vector<int>{c.message});
    }
    // The current configuration cannot be read: only values that were set are flagged.
    xmtr.sensorType = 251;
    script({Refusal(140, 16)});
    EXPECT_EQ(xmtr.WriteSensorConfig(), 0);
    EXPECT_EQ(xmtr.sensorTypeFailed, 0);
    EXPECT_EQ(xmtr.sensorConnectionFailed, 1);
}

// The 0–100 °C range on a PT100 must go out unchanged; only values just outside the
// limits are pulled onto them.
TEST_F(TransmitterWriteChains, RangeValuesPulledOntoTheLimitOnlyWhenJustOutside)
{
    struct Case {
        float lower;
        float upper;
        float sentLower;
        float sentUpper;
    };
    const Case cases[] = {
        {0.0f, 100.0f, 0.0f, 100.0f},       {0.0f, 850.004f, 0.0f, 850.0f},
        {0.0f, 850.01f, 0.0f, 850.01f},     {-200.004f, 100.0f, -200.0f, 100.0f},
        {-205.0f, 100.0f, -205.0f, 100.0f}, {-200.0f, 850.0f, -200.0f, 850.0f},
    };
    xmtr.sensorLimitUnits = 32;
    for (const Case& c : cases) {
        FakeDriverControl fresh;
        xmtr.lowerRangeValue = c.lower;
        xmtr.upperRangeValue = c.upper;
        const Bytes expected = Payload().u8(32).f32(c.sentUpper).f32(c.sentLower);
        script({kCurrentRange, kPt100Limits, RangeEcho(expected)});
        EXPECT_EQ(xmtr.WriteRangeValues(), 1);
        EXPECT_EQ(sentCommands(), (std::vector<int>{15, 14, 35}));
        EXPECT_EQ(lastSentData(), expected) << c.lower << " … " << c.upper;
        // The parameter set keeps what the user entered.
        EXPECT_EQ(xmtr.upperRangeValue, c.upper);
        EXPECT_EQ(xmtr.lowerRangeValue, c.lower);
    }
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterWriteChains, RangeLimitsInOtherUnitsAreNotApplied)
{
    xmtr.sensorLimitUnits = 33;
    xmtr.upperRangeValue = 850.004f;
    script({kCurrentRange, kPt100Limits, RangeEcho(Payload().u8(32).f32(850.004f).f32(0.0f))});
    EXPECT_EQ(xmtr.WriteRangeValues(), 1);
    EXPECT_EQ(lastSentData(), Bytes(Payload().u8(32).f32(850.004f).f32(0.0f)));
}

TEST_F(TransmitterWriteChains, OnlyLowerValueKeepsTheDevicesUpperValue)
{
    xmtr.lowerRangeValue = -20.0f;
    script({kCurrentRange, kPt100Limits, RangeEcho(Payload().u8(32).f32(100.0f).f32(-20.0f))});
    EXPECT_EQ(xmtr.WriteRangeValues(), 1);
    EXPECT_EQ(lastSentData(), Bytes(Payload().u8(32).f32(100.0f).f32(-20.0f)));
    EXPECT_TRUE(IsNotSet(xmtr.upperRangeValue));
}

TEST_F(TransmitterWriteChains, RangeWarningToCommand15FailsAndRereadsLimits)
{
    xmtr.upperRangeValue = 200.0f;
    xmtr.sensorLimitUnits = 33;
    script({Answer(15, kCurrentRangeData, 8), kPt100Limits});
    EXPECT_EQ(xmtr.WriteRangeValues(), 0);
    EXPECT_EQ(sentCommands(), (std::vector<int>{15, 14}));
    EXPECT_EQ(xmtr.upperRangeValueFailed, 1);
    EXPECT_EQ(xmtr.lowerRangeValueFailed, 0);
    EXPECT_EQ(xmtr.sensorLimitUnits, 32);
    EXPECT_EQ(xmtr.upperSensorLimit, 850.0f);
    EXPECT_EQ(user.ids(), std::vector<int>{1007});
}

TEST_F(TransmitterWriteChains, RangeRefusalsFlagTheNamedValue)
{
    struct Case {
        std::uint8_t result;
        int upperFlag;
        int lowerFlag;
        int message;
    };
    const Case cases[] = {{9, 0, 1, 1008},  {10, 0, 1, 1011}, {11, 1, 0, 1012},
                          {12, 1, 0, 1017}, {13, 1, 1, 1018}, {8, 1, 1, 1007}};
    for (const Case& c : cases) {
        user.messages.clear();
        xmtr.upperRangeValue = 900.0f;
        xmtr.lowerRangeValue = -300.0f;
        script({kCurrentRange, kPt100Limits, Refusal(35, c.result), Refusal(14, 2)});
        EXPECT_EQ(xmtr.WriteRangeValues(), 0);
        EXPECT_EQ(xmtr.upperRangeValueFailed, c.upperFlag) << int(c.result);
        EXPECT_EQ(xmtr.lowerRangeValueFailed, c.lowerFlag) << int(c.result);
        // The limits read again after the refusal failed too: they become unknown.
        EXPECT_EQ(xmtr.sensorLimitUnits, 38);
        EXPECT_EQ(user.ids(), (std::vector<int>{c.message, 1000}));
    }
}

TEST_F(TransmitterWriteChains, LimitsReadFailingBeforeTheRangeWriteStops)
{
    xmtr.upperRangeValue = 200.0f;
    xmtr.sensorLimitUnits = 32;
    script({kCurrentRange, Refusal(14, 8)});
    EXPECT_EQ(xmtr.WriteRangeValues(), 0);
    EXPECT_EQ(sentCommands(), (std::vector<int>{15, 14}));
    EXPECT_EQ(xmtr.sensorLimitUnits, 32);
    EXPECT_EQ(user.ids(), std::vector<int>{1007});
}

TEST_F(TransmitterWriteChains, DampingWarningStoresTheRoundedEcho)
{
    xmtr.damping = 0.3f;
    script({Answer(34, Payload().f32(0.5f), 8)});
    EXPECT_EQ(xmtr.WriteDamping(), 1);
    EXPECT_EQ(sentData(0), Bytes(Payload().f32(0.3f)));
    EXPECT_EQ(xmtr.damping, 0.5f);
    EXPECT_EQ(user.ids(), std::vector<int>{1005});

    script({Refusal(34, 7)});
    EXPECT_EQ(xmtr.WriteDamping(), 0);
    EXPECT_EQ(xmtr.dampingFailed, 1);
    EXPECT_EQ(xmtr.damping, 0.5f);
}

// Range units, alarm direction and line filter: one byte out, the echo replaces it.
TEST_F(TransmitterWriteChains, SingleCodeWritesStoreTheEchoOrFlagTheValue)
{
    struct Case {
        std::int32_t CTransmitter::*value;
        int CTransmitter::*failed;
        int (CTransmitter::*step)();
        std::uint8_t command;
    };
    const Case cases[] = {
        {&CTransmitter::rangeUnits, &CTransmitter::rangeUnitsFailed, &CTransmitter::WriteRangeUnits,
         44},
        {&CTransmitter::alarmSelect, &CTransmitter::alarmSelectFailed,
         &CTransmitter::WriteAlarmSelect, 162},
        {&CTransmitter::lineFilter, &CTransmitter::lineFilterFailed, &CTransmitter::WriteLineFilter,
         151},
    };
    for (const Case& c : cases) {
        FakeDriverControl fresh;
        user.messages.clear();
        xmtr.*(c.value) = 1;
        xmtr.*(c.failed) = 1;
        script({Answer(c.command, Payload().u8(0)), Refusal(c.command, 7)});
        EXPECT_EQ((xmtr.*(c.step))(), 1);
        EXPECT_EQ(sentData(0), Bytes{1});
        EXPECT_EQ(xmtr.*(c.value), 0);
        EXPECT_EQ(xmtr.*(c.failed), 0);
        EXPECT_EQ((xmtr.*(c.step))(), 0);
        EXPECT_EQ(xmtr.*(c.failed), 1);
        EXPECT_EQ(sentCommands(), (std::vector<int>{c.command, c.command}));
        EXPECT_EQ(user.ids(), std::vector<int>{1004});
    }
}

TEST_F(TransmitterWriteChains, TagKeepsDescriptorAndDateAndStoresTheEcho)
{
    std::copy_n(u"ab", 3, xmtr.tag);
    const Bytes current =
        Answer(13, Payload().ascii("OLD", 8).ascii("PUMP 7 INLET", 16).u8(1).u8(2).u8(99));
    const Bytes request = Payload().ascii("AB", 8).ascii("PUMP 7 INLET", 16).u8(1).u8(2).u8(99);
    script({current, answers::LongAnswer(18, 0, 0, request)});
    EXPECT_EQ(xmtr.WriteTag(), 1);
    EXPECT_EQ(sentData(1), request);
    EXPECT_EQ(std::u16string(xmtr.tag, 9), std::u16string(u"AB      \0", 9));

    script({Refusal(13, 2)});
    EXPECT_EQ(xmtr.WriteTag(), 0);
    EXPECT_EQ(xmtr.tagFailed, 1);
    script({current, Refusal(18, 7)});
    EXPECT_EQ(xmtr.WriteTag(), 0);
    EXPECT_EQ(xmtr.tagFailed, 1);
    EXPECT_EQ(user.ids(), (std::vector<int>{1000, 1004}));
}

TEST_F(TransmitterWriteChains, AlarmLevelsFillUnsetLevelsFromTheDevice)
{
    xmtr.lowSatVal = 3.7f;
    const Bytes sent = Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.7f);
    script({Answer(189, Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f)),
            answers::LongAnswer(155, 0, 0, sent)});
    EXPECT_EQ(xmtr.WriteAlarmLevels(), 1);
    EXPECT_EQ(sentData(1), sent);
    EXPECT_TRUE(IsNotSet(xmtr.highAlmVal));  // the parameter set keeps the user's values
    EXPECT_EQ(xmtr.lowSatVal, 3.7f);
}

TEST_F(TransmitterWriteChains, AlarmLevelRefusalsFlagTheNamedLevel)
{
    const Bytes current = Answer(189, Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f));
    struct Case {
        std::uint8_t result;
        int high, low, highSat, lowSat;
        int message;
    };
    // Only the high alarm and the low saturation are set by the user.
    const Case cases[] = {
        {10, 1, 0, 0, 0, 1010}, {11, 0, 0, 1, 0, 1013}, {12, 0, 1, 0, 0, 1016},
        {13, 0, 0, 0, 1, 1019}, {16, 1, 0, 0, 1, 1021},
    };
    for (const Case& c : cases) {
        user.messages.clear();
        xmtr.highAlmVal = 22.0f;
        xmtr.lowSatVal = 3.7f;
        script({current, Refusal(155, c.result)});
        EXPECT_EQ(xmtr.WriteAlarmLevels(), 0);
        EXPECT_EQ(xmtr.highAlmValFailed, c.high) << int(c.result);
        EXPECT_EQ(xmtr.lowAlmValFailed, c.low) << int(c.result);
        EXPECT_EQ(xmtr.highSatValFailed, c.highSat) << int(c.result);
        EXPECT_EQ(xmtr.lowSatValFailed, c.lowSat) << int(c.result);
        EXPECT_EQ(user.ids(), std::vector<int>{c.message});
    }
}

// What the document runs for "send advanced settings", in order.
int RunAdvancedChain(CTransmitter& t)
{
    t.WriteProtectOff();
    t.WriteAlarmSelect();
    t.WriteAlarmLevels();
    t.WriteLineFilter();
    return t.WriteProtectOnAndReadLimits();
}

TEST_F(TransmitterWriteChains, AdvancedChainSwitchesProtectionOffFirstAndOnLast)
{
    const Bytes levels = Answer(189, Payload().f32(21.0f).f32(3.6f).f32(20.5f).f32(3.8f));
    const Bytes levelsEcho = Answer(155, Payload().f32(22.0f).f32(3.6f).f32(20.5f).f32(3.8f));
    auto setAll = [&](std::int32_t protect) {
        xmtr.writeProtect = protect;
        xmtr.alarmSelect = 1;
        xmtr.highAlmVal = 22.0f;
        xmtr.lineFilter = 1;
    };

    setAll(0);
    script({Answer(195, Payload().u24(0).u8(0)), Answer(162, Payload().u8(1)), levels, levelsEcho,
            Answer(151, Payload().u8(1)), kPt100Limits});
    EXPECT_EQ(RunAdvancedChain(xmtr), 1);
    EXPECT_EQ(sentCommands(), (std::vector<int>{195, 162, 189, 155, 151, 14}));
    EXPECT_EQ(sentData(0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(xmtr.sensorLimitUnits, 32);

    FakeDriverControl fresh;
    setAll(1);
    script({Answer(162, Payload().u8(1)), levels, levelsEcho, Answer(151, Payload().u8(1)),
            Answer(195, Payload().u24(0).u8(1)), kPt100Limits});
    EXPECT_EQ(RunAdvancedChain(xmtr), 1);
    EXPECT_EQ(sentCommands(), (std::vector<int>{162, 189, 155, 151, 195, 14}));
    EXPECT_EQ(sentData(4), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ(xmtr.writeProtect, 1);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(TransmitterWriteChains, ProtectOnRefusedSkipsTheLimitsRead)
{
    xmtr.writeProtect = 1;
    script({Refusal(195, 16)});
    EXPECT_EQ(xmtr.WriteProtectOnAndReadLimits(), 0);
    EXPECT_EQ(xmtr.writeProtectFailed, 1);
    EXPECT_EQ(sentCommands(), std::vector<int>{195});

    xmtr.writeProtect = 0;
    script({Refusal(14, 5)});
    EXPECT_EQ(xmtr.WriteProtectOnAndReadLimits(), 0);
    EXPECT_EQ(xmtr.sensorLimitUnits, 38);
    EXPECT_EQ(user.ids(), (std::vector<int>{1021, 1003}));
}
