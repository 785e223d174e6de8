#include <bit>

#include <QByteArray>

#include <gtest/gtest.h>

#include "document/config_file.h"
#include "document/example_record.h"
#include "support/fake_sleeper.h"
#include "support/scripted_user.h"

using namespace document;
using transmitter::CTransmitter;

namespace {

class ConfigFileTest : public testing::Test {
protected:
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    CTransmitter values{user, ports, sleeper};
};

void FillExample(CTransmitter& t)
{
    std::fill(std::begin(t.tag), std::end(t.tag), u'\0');
    t.sensorType = 1;
    t.sensorConnection = 4;
    t.rangeUnits = 32;
    t.lowerRangeValue = 0.0f;
    t.upperRangeValue = 100.0f;
    t.damping = 5.0f;
    t.alarmSelect = 0;
    t.lowAlmVal = 3.75f;
    t.highAlmVal = 21.75f;
    t.lowSatVal = 3.9f;
    t.highSatVal = 20.5f;
    t.lineFilter = 1;
    t.writeProtect = 0;
    t.armatureLetter = 1;
    t.armatureNumber = 1;
    t.headType = 3;
    t.cableEntry = 1;
    t.execution = 1;
    t.mountingLength = 100;
    t.finalAsmDay = 1;
    t.finalAsmMonth = 1;
    t.finalAsmYear = 0;
    t.thermometerSerial = 1;
}

}  // namespace

TEST_F(ConfigFileTest, ExampleRecordByteForByte)
{
    ASSERT_EQ(kExampleRecord.size(), kConfigRecordSize);
    FillExample(values);
    EXPECT_EQ(StoreConfiguration(values).toHex(' '), kExampleRecord.toHex(' '));
}

TEST_F(ConfigFileTest, ExampleRecordLoadsBack)
{
    values.sensorLimitUnits = 99;
    ASSERT_EQ(LoadConfiguration(kExampleRecord + QByteArray("trailing bytes are ignored"), values),
              LoadStatus::Loaded);
    EXPECT_EQ(values.lowerRangeValue, 0.0f);
    EXPECT_EQ(values.upperRangeValue, 100.0f);
    EXPECT_EQ(values.damping, 5.0f);
    EXPECT_EQ(values.lowAlmVal, 3.75f);
    EXPECT_EQ(values.highAlmVal, 21.75f);
    EXPECT_EQ(values.lowSatVal, 3.9f);
    EXPECT_EQ(values.highSatVal, 20.5f);
    EXPECT_EQ(values.rangeUnits, 32);
    EXPECT_EQ(values.sensorLimitUnits, 32);  // one units field fills both
    EXPECT_EQ(values.sensorConnection, 4);
    EXPECT_EQ(values.mountingLength, 100);
    EXPECT_EQ(values.thermometerSerial, 1);
    EXPECT_EQ(StoreConfiguration(values), kExampleRecord);
}

TEST_F(ConfigFileTest, NotSetValuesSurviveUnchanged)
{
    // Bytes of a cleared configuration: the not-set codes and floats as held.
    std::fill(std::begin(values.tag), std::end(values.tag), u'\0');
    values.headType = 4;
    values.cableEntry = 256;
    values.execution = 33;
    values.armatureLetter = values.armatureNumber = 0;
    const QByteArray record = StoreConfiguration(values);
    EXPECT_EQ(record.mid(26, 12).toHex(), "fb000000fb00000026000000");
    EXPECT_EQ(record.mid(38, 12).toHex(), "0000a07f0000a07f0000a07f");
    EXPECT_EQ(record.mid(50, 4).toHex(), "02000000");
    EXPECT_EQ(record.mid(54, 16).toHex(), "0000a07f0000a07f0000a07f0000a07f");
    EXPECT_EQ(record.mid(70, 10).toHex(), "02000000020000000000");
    EXPECT_EQ(record.mid(80, 12).toHex(), "040000000001000021000000");

    ScriptedUser otherUser;
    CTransmitter other(otherUser, ports, sleeper);
    ASSERT_EQ(LoadConfiguration(record, other), LoadStatus::Loaded);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(other.damping), 0x7FA00000u);
    EXPECT_EQ(StoreConfiguration(other), record);
}

TEST_F(ConfigFileTest, ShortTagKeepsItsZeros)
{
    FillExample(values);
    values.tag[0] = u'T';
    values.tag[1] = u'1';
    const QByteArray record = StoreConfiguration(values);
    EXPECT_EQ(record.mid(8, 18).toHex(), "540031000000000000000000000000000000");
    FillExample(values);
    ASSERT_EQ(LoadConfiguration(record, values), LoadStatus::Loaded);
    EXPECT_EQ(values.tag[0], u'T');
    EXPECT_EQ(values.tag[1], u'1');
    EXPECT_EQ(values.tag[2], u'\0');
}

TEST_F(ConfigFileTest, UnterminatedTagGetsItsTerminatorForced)
{
    QByteArray record = kExampleRecord;
    for (int i = 8; i < 26; i += 2) record[i] = 'A';
    ASSERT_EQ(LoadConfiguration(record, values), LoadStatus::Loaded);
    EXPECT_EQ(values.tag[7], u'A');
    EXPECT_EQ(values.tag[8], u'\0');
}

TEST_F(ConfigFileTest, ChecksInTheirOrder)
{
    QByteArray wrongMagic = kExampleRecord;
    wrongMagic[0] = 0x50;
    QByteArray version321 = kExampleRecord;
    version321[4] = 0x41;
    QByteArray version323 = kExampleRecord;
    version323[4] = 0x43;
    struct Case {
        const char* name;
        QByteArray bytes;
        LoadStatus expected;
    } cases[] = {
        {"wrong magic", wrongMagic, LoadStatus::WrongFormat},
        {"version 321", version321, LoadStatus::WrongVersion},
        {"version 323", version323, LoadStatus::WrongVersion},
        {"102 bytes", kExampleRecord.left(102), LoadStatus::WrongFormat},
        {"magic only", kExampleRecord.left(4), LoadStatus::WrongFormat},
        {"three bytes", kExampleRecord.left(3), LoadStatus::WrongFormat},
        // The version is read before the record runs out.
        {"short with wrong version", version321.left(20), LoadStatus::WrongVersion},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTransmitter fresh(user, ports, sleeper);
        EXPECT_EQ(LoadConfiguration(c.bytes, fresh), c.expected);
        EXPECT_EQ(fresh.sensorType, 251);  // nothing loaded
    }
}
