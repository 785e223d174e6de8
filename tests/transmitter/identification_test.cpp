#include "hart/command_table.h"
#include "transmitter/transmitter_fixture.h"

using namespace transmitter;

namespace {

using TransmitterIdentification = TransmitterTest;

}  // namespace

TEST_F(TransmitterIdentification, ConstructionLeavesEveryValueUnknown)
{
    for (float v :
         {xmtr.upperSensorLimit, xmtr.lowerSensorLimit, xmtr.upperRangeValue, xmtr.lowerRangeValue,
          xmtr.damping, xmtr.highAlmVal, xmtr.lowAlmVal, xmtr.highSatVal, xmtr.lowSatVal,
          xmtr.sensorTemp, xmtr.xmtrTemp, xmtr.loopCurrent, xmtr.fixedCurrent, xmtr.measured4mA,
          xmtr.measured20mA, xmtr.calUpperBound, xmtr.calLowerBound, xmtr.trimUpperPoint,
          xmtr.trimLowerPoint})
        EXPECT_EQ(BitsOf(v), kNotSetFloatBits);
    EXPECT_EQ(xmtr.sensorType, 251);
    EXPECT_EQ(xmtr.sensorConnection, 251);
    for (std::int32_t units :
         {xmtr.rangeUnits, xmtr.sensorLimitUnits, xmtr.sensorTempUnits, xmtr.xmtrTempUnits})
        EXPECT_EQ(units, 38);
    EXPECT_EQ(xmtr.trimUnits, 32);
    for (std::int32_t choice :
         {xmtr.alarmSelect, xmtr.lineFilter, xmtr.writeProtect, xmtr.calibrationMode})
        EXPECT_EQ(choice, 2);
    EXPECT_EQ(xmtr.calibrationType, 0);
    EXPECT_EQ(xmtr.armatureLetter, 1);  // "A01"
    EXPECT_EQ(xmtr.armatureNumber, 1);
    EXPECT_EQ(xmtr.headType, 3);
    EXPECT_EQ(xmtr.cableEntry, 0);
    EXPECT_EQ(xmtr.execution, 1);
    EXPECT_EQ(xmtr.finalAsmDay, 1);
    EXPECT_EQ(xmtr.finalAsmMonth, 1);
    EXPECT_EQ(xmtr.finalAsmYear, 0);
    EXPECT_EQ(xmtr.tag[0], u'\0');
    EXPECT_EQ(xmtr.deviceId + xmtr.manufacturerCode + xmtr.deviceType + xmtr.finalAssemblyNumber,
              0);
    EXPECT_EQ(xmtr.sensorFailure + xmtr.xmtrFailure + xmtr.progress, 0);
    EXPECT_EQ(xmtr.tagFailed + xmtr.rangeUnitsFailed + xmtr.dampingFailed + xmtr.writeProtectFailed,
              0);
    EXPECT_FALSE(xmtr.isPortOpen());
    EXPECT_EQ(fake.counters().opens, 0);  // construction does not touch the driver
}

TEST_F(TransmitterIdentification, TarvelAnswersAndGivesItsLongAddress)
{
    script({answers::IdentityAnswer()});
    EXPECT_EQ(xmtr.Identify(), 1);
    EXPECT_EQ(xmtr.manufacturerCode, 153);
    EXPECT_EQ(xmtr.deviceType, 252);
    EXPECT_EQ(xmtr.universalRev, 5);
    EXPECT_EQ(xmtr.deviceRev, 2);
    EXPECT_EQ(xmtr.softwareRev, 3);
    EXPECT_EQ(xmtr.hardwareRev, 0x21);
    EXPECT_EQ(xmtr.deviceId, 0x0A1B2C);
    const auto frames = fake.writtenFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0xF9, 0x00, 0xFB}));

    // Later requests go to the captured long address.
    script({Answer(150, Payload().u8(1))});
    xmtr.ReadFilterAndAssemblyNumber();
    const Bytes second = fake.writtenFrames().at(1);
    EXPECT_EQ(Bytes(second.begin() + 6, second.begin() + 12),
              (Bytes{0x82, 0x19, 0xFC, 0x0A, 0x1B, 0x2C}));
}

TEST_F(TransmitterIdentification, DeviceStatus254IsNotTakenForTheMarker)
{
    // Every status bit but "primary variable out of limits": 0xFE, the marker's value.
    script({answers::ShortAnswer(249, 0, 0xFE,
                                 {254, 153, 252, 5, 5, 2, 3, 0x21, 0x00, 0x0A, 0x1B, 0x2C})});
    EXPECT_EQ(xmtr.Identify(), 1);
    script({Answer(150, Payload().u8(1))});
    xmtr.ReadFilterAndAssemblyNumber();
    const Bytes second = fake.writtenFrames().at(1);
    EXPECT_EQ(Bytes(second.begin() + 6, second.begin() + 12),
              (Bytes{0x82, 0x19, 0xFC, 0x0A, 0x1B, 0x2C}));
}

TEST_F(TransmitterIdentification, OtherDeviceOrNoAnswerIsNotFound)
{
    script({answers::IdentityAnswer(38, 252)});
    EXPECT_EQ(xmtr.Identify(), 0);
    EXPECT_EQ(xmtr.deviceId, 0);
    EXPECT_EQ(xmtr.manufacturerCode, 38);
    EXPECT_EQ(xmtr.softwareRev, 3);

    EXPECT_EQ(xmtr.Identify(), 0);  // nothing scripted: three silent attempts
    EXPECT_EQ(xmtr.deviceId, 0);
    EXPECT_TRUE(user.messages.empty());  // the callers offer the retry question
}

TEST_F(TransmitterIdentification, WriteProtectCountsOnlyAZeroResult)
{
    const Payload range = Payload().u8(0).u8(0).u8(32).f32(100.0f).f32(0.0f).f32(1.0f).u8(1).u8(0);
    script({Answer(15, range), Answer(15, range, 8)});
    EXPECT_EQ(xmtr.ReadWriteProtect(), 1);
    EXPECT_EQ(xmtr.ReadWriteProtect(), 2);
    EXPECT_EQ(user.ids(), std::vector<int>{1007});
    EXPECT_EQ(xmtr.writeProtect, 2);  // the read reports; it does not store
}
