#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/advanced_send_check.h"
#include "document/basic_page_lists.h"
#include "document/basic_send_check.h"
#include "resources/string_table.h"
#include "support/scripted_user.h"
#include "transmitter/sensor_table.h"

using namespace document;

namespace {

const float kNotSet = transmitter::kNotSetFloat;
constexpr int kPasses = 0;

// Passing shows nothing; a refusal shows exactly its one message, as an error.
void ExpectOutcome(bool passed, const ScriptedUser& user, int message, const char* name)
{
    EXPECT_EQ(passed, message == kPasses) << name;
    EXPECT_TRUE(user.questions.empty()) << name;
    if (message == kPasses) {
        EXPECT_TRUE(user.messages.empty()) << name;
        return;
    }
    ASSERT_EQ(user.messages.size(), 1u) << name;
    EXPECT_EQ(user.messages[0].id, message) << name;
    EXPECT_EQ(user.messages[0].icon, hart::MessageIcon::Error) << name;
    EXPECT_FALSE(user.messages[0].text.empty()) << name;
}

// PT100 (a = 0.00385), four wires, °C: limits −200 … 850.
BasicSendValues Pt100(float lower, float upper)
{
    return {1, 4, 32, lower, upper, -200.0f, 850.0f, {}};
}

BasicSendValues Choices(std::int32_t sensor, std::int32_t connection, std::int32_t unit,
                        float lower = kNotSet, float upper = kNotSet)
{
    return {sensor, connection, unit, lower, upper, kNotSet, kNotSet, {}};
}

struct BasicCase {
    const char* name;
    BasicSendValues values;
    int message;
};

const BasicCase kBasicCases[] = {
    {"nothing chosen", BasicSendValues{}, kPasses},
    {"unit without sensor or connection", Choices(251, 251, 32), 1263},
    {"unit and sensor without connection", Choices(1, 251, 32), 1263},
    {"unit and connection without sensor", Choices(251, 2, 32), 1263},
    {"sensor without connection", Choices(1, 251, 38), 1264},
    {"connection without sensor", Choices(251, 2, 38), 1265},
    {"sensor and connection, no points", Choices(1, 4, 38), kPasses},
    {"choices are checked before points", Choices(1, 251, 38, 0.0f, 0.005f), 1264},
    {"4 mA only", Pt100(0.0f, kNotSet), 1266},
    {"20 mA only", Pt100(kNotSet, 100.0f), 1267},
    {"no points", Pt100(kNotSet, kNotSet), kPasses},
    {"span 0.005", Pt100(0.0f, 0.005f), 1268},
    {"span 0.01", Pt100(0.0f, 0.01f), kPasses},
    {"reversed points", Pt100(100.0f, 0.0f), kPasses},
    {"span is checked before the choices for the points", Choices(251, 251, 38, 0.0f, 0.005f),
     1268},
    {"points without any choice", Choices(251, 251, 38, 0.0f, 100.0f), 1269},
    {"points without a unit", Choices(1, 4, 38, 0.0f, 100.0f), 1269},
    {"4 mA at the lower limit", Pt100(-200.0f, 100.0f), kPasses},
    {"4 mA 0.01 below the lower limit", Pt100(-200.01f, 100.0f), 1270},
    {"20 mA 0.004 above the upper limit", Pt100(0.0f, 850.004f), kPasses},
    {"20 mA 0.006 above the upper limit", Pt100(0.0f, 850.006f), 1271},
    {"both outside: the 4 mA point is reported", Pt100(-300.0f, 900.0f), 1270},
    {"limits not set", Choices(1, 4, 32, -1000.0f, 1000.0f), kPasses},
};

TEST(BasicSendCheck, RulesFireInOrderWithTheErrorIcon)
{
    for (const BasicCase& c : kBasicCases) {
        ScriptedUser user;
        ExpectOutcome(ValidateBasicSend(c.values, user), user, c.message, c.name);
    }
}

TEST(BasicSendCheck, CodesComeFromTheListSelections)
{
    PageValues stored;
    stored.sensorType = 1;  // the selections below win over the stored codes
    stored.lowerRangeValue = 0.0f;
    stored.upperRangeValue = 100.0f;
    stored.lowerSensorLimit = -200.0f;
    stored.upperSensorLimit = 850.0f;
    const BasicSendValues v = BasicSendValuesFor({14, 1, 5}, stored);
    EXPECT_EQ(v.sensorType, 132);
    EXPECT_EQ(v.sensorConnection, 2);
    EXPECT_EQ(v.unitCode, 36);
    // The limits too are those the page shows for its selection, not the stored ones.
    EXPECT_EQ(v.lowerSensorLimit, transmitter::SensorLimits(14, 36).first);
    EXPECT_NE(v.lowerSensorLimit, -200.0f);
    EXPECT_EQ(BasicSendValuesFor({0, 0, 0}, stored).sensorType, 251);
    EXPECT_EQ(BasicSendValuesFor({kNoSelection, 0, 0}, stored).sensorType, 251);
}

// A freshly loaded document holds no limits; the page's refresh works them out for the
// shown sensor and unit, and so must the checks that run on what the page shows.
TEST(BasicSendCheck, AsShownUsesTheLimitsOfTheShownSensorAndUnit)
{
    PageValues loaded;
    loaded.sensorType = 1;
    loaded.sensorConnection = 4;
    loaded.rangeUnits = 33;
    loaded.lowerRangeValue = 0.0f;
    loaded.upperRangeValue = 1600.0f;  // above 1562 °F
    const BasicSendValues v = BasicSendValuesAsShown(loaded);
    EXPECT_EQ(v.unitCode, 33);
    EXPECT_EQ(v.lowerSensorLimit, -328.0f);
    EXPECT_EQ(v.upperSensorLimit, 1562.0f);
    ScriptedUser user;
    EXPECT_FALSE(ValidateBasicSend(v, user));
    EXPECT_EQ(user.ids(), std::vector<int>{1271});

    loaded.sensorConnection = 251;  // a thermocouple would show two wires; a PT100 shows none
    ScriptedUser second;
    EXPECT_FALSE(ValidateBasicSend(BasicSendValuesAsShown(loaded), second));
    EXPECT_EQ(second.ids(), std::vector<int>{1263});

    loaded.sensorType = 132;
    loaded.upperRangeValue = 100.0f;
    ScriptedUser third;
    EXPECT_TRUE(ValidateBasicSend(BasicSendValuesAsShown(loaded), third));
}

// A stored tag (a file's) gets the tag field's check before anything else: what the field
// would refuse is refused with its message 902 and the character; lower case passes, as the
// field and the transmitter take it as capitals.
TEST(BasicSendCheck, StoredTagGetsTheTagFieldsCheckFirst)
{
    struct TagCase {
        const char16_t* tag;
        const char16_t* refused;  // nullptr: passes
    };
    const TagCase cases[] = {
        {u"TT-101 _", nullptr}, {u"tt-7", nullptr},     {u"", nullptr}, {u"A\u0001B", u"\u0001"},
        {u"T\tT", u"\t"},       {u"\u007F", u"\u007F"}, {u"ЖX", u"Ж"},  {u"a{", u"{"},
        {u"`", u"`"},           {u"\u00DF", u"\u00DF"},
    };
    const std::string_view kInvalidCharacter = tarvel::LoadText(902);
    for (const TagCase& c : cases) {
        PageValues stored;
        stored.storedTag = c.tag;
        stored.sensorType = 1;  // no connection: 1264 unless the tag is refused first
        ScriptedUser user;
        const bool passed = ValidateBasicSend(BasicSendValuesAsShown(stored), user);
        const std::string name = QString::fromUtf16(c.tag).toStdString();
        EXPECT_FALSE(passed) << name;
        ASSERT_EQ(user.messages.size(), 1u) << name;
        if (c.refused == nullptr) {
            EXPECT_EQ(user.messages[0].id, 1264) << name;
            continue;
        }
        EXPECT_EQ(user.messages[0].id, 902) << name;
        EXPECT_EQ(QString::fromStdString(user.messages[0].text),
                  QString::fromUtf8(kInvalidCharacter.data(), kInvalidCharacter.size()) +
                      QString::fromUtf16(c.refused))
            << name;
    }
}

struct AdvancedCase {
    const char* name;
    AlarmLevels levels;  // low alarm, high alarm, low saturation, high saturation
    int message;
};

const AdvancedCase kAdvancedCases[] = {
    {"no levels", AlarmLevels{}, kPasses},
    {"suggested 3.50 21.00 3.70 20.50", {3.5f, 21.0f, 3.7f, 20.5f}, kPasses},
    {"suggested 3.50 21.00 3.90 20.90", {3.5f, 21.0f, 3.9f, 20.9f}, kPasses},
    {"high saturation missing", {3.5f, 21.0f, 3.7f, kNotSet}, 1253},
    {"only low alarm", {3.5f, kNotSet, kNotSet, kNotSet}, 1253},
    {"low alarm 3.49", {3.49f, 21.0f, 3.7f, 20.5f}, 1254},
    {"low alarm 3.4999", {3.4999f, 21.0f, 3.7f, 20.5f}, kPasses},
    {"low alarm 3.76", {3.76f, 21.0f, 3.9f, 20.5f}, 1255},
    {"low alarm 3.70, saturation 3.6999", {3.7f, 21.0f, 3.6999f, 20.5f}, kPasses},
    {"low alarm 3.70, saturation 3.69", {3.7f, 21.0f, 3.69f, 20.5f}, 1256},
    {"low alarm 3.75, saturation 3.80", {3.75f, 21.0f, 3.8f, 20.5f}, 1257},
    {"low alarm 3.75, saturation 3.85", {3.75f, 21.0f, 3.85f, 20.5f}, kPasses},
    {"low alarm 3.75, saturation 3.9001", {3.75f, 21.0f, 3.9001f, 20.5f}, kPasses},
    {"low saturation 3.95", {3.5f, 21.0f, 3.95f, 20.5f}, 1258},
    {"high saturation 20.49", {3.5f, 21.0f, 3.7f, 20.49f}, 1259},
    {"high saturation 20.95", {3.5f, 21.0f, 3.7f, 20.95f}, 1260},
    {"high alarm 21.00, saturation 20.90", {3.5f, 21.0f, 3.7f, 20.9f}, kPasses},
    {"high alarm 20.99", {3.5f, 20.99f, 3.7f, 20.5f}, 1261},
    {"high alarm 23.01", {3.5f, 23.01f, 3.7f, 20.5f}, 1262},
    {"high alarm 23.00", {3.5f, 23.0f, 3.7f, 20.5f}, kPasses},
    {"low side first", {3.0f, 30.0f, 3.7f, 25.0f}, 1254},
    {"saturation before alarm on the high side", {3.5f, 30.0f, 3.7f, 25.0f}, 1260},
};

TEST(AdvancedSendCheck, RulesFireInOrderWithTheErrorIcon)
{
    for (const AdvancedCase& c : kAdvancedCases) {
        ScriptedUser user;
        ExpectOutcome(ValidateAdvancedSend(c.levels, user), user, c.message, c.name);
    }
}

TEST(AdvancedSendCheck, LevelsAreTheStoredOnes)
{
    PageValues v;
    v.lowAlmVal = 3.75f;
    v.highAlmVal = 21.75f;
    v.lowSatVal = 3.9f;
    v.highSatVal = 20.5f;
    const AlarmLevels levels = AlarmLevelsOf(v);
    EXPECT_EQ(levels.lowAlarm, 3.75f);
    EXPECT_EQ(levels.highAlarm, 21.75f);
    EXPECT_EQ(levels.lowSaturation, 3.9f);
    EXPECT_EQ(levels.highSaturation, 20.5f);
}

}  // namespace
