#include <cmath>
#include <vector>

#include <QLocale>

#include <gtest/gtest.h>

#include "document/basic_field_rules.h"
#include "document/basic_page_lists.h"
#include "document/basic_page_view.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

constexpr std::int32_t kNoUnit = 38;
constexpr std::int32_t kNoSensor = 251;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Every index the sensor list can have selected, no selection included.
std::vector<int> AllSensorSelections()
{
    std::vector<int> all{kNoSelection};
    for (int i = 0; i <= 21; ++i) all.push_back(i);
    return all;
}

TEST(BasicPageLists, SensorListHoldsTheEmptyEntryAndTheTableInOrder)
{
    const QStringList entries = SensorListEntries();
    ASSERT_EQ(entries.size(), 22);
    EXPECT_EQ(entries.at(0), QString());
    EXPECT_EQ(entries.at(1), Text("PT100 (a = 0.00385)"));
    EXPECT_EQ(entries.at(14), Text("Термопара Тип K"));
    EXPECT_EQ(entries.at(20), Text("мВ"));
    EXPECT_EQ(entries.at(21), Text("Ом"));
}

TEST(BasicPageLists, StoredSensorCodeSelectsItsRowOrNothing)
{
    const std::pair<std::int32_t, int> cases[] = {
        {1, 1},
        {15, 6},
        {132, 14},
        {143, 19},
        {128, 20},
        {0, 21},  // 0 is the ohm input
        {kNoSensor, kNoSelection},
        {2, kNoSelection},
        {255, kNoSelection},
        {-1, kNoSelection},
    };
    for (const auto& [code, index] : cases) EXPECT_EQ(SensorListIndex(code), index) << code;
}

TEST(BasicPageLists, ThermocouplesAndTheMillivoltInputOfferTwoWiresOnly)
{
    for (const int sensor : AllSensorSelections()) {
        const QStringList entries = ConnectionListEntries(sensor);
        const bool twoWiresOnly = sensor >= 11 && sensor <= 20;
        ASSERT_EQ(entries.size(), twoWiresOnly ? 2 : 4) << sensor;
        EXPECT_EQ(entries.at(0), QString());
        EXPECT_EQ(entries.at(1), Text("2-проводное"));
        if (!twoWiresOnly) {
            EXPECT_EQ(entries.at(3), Text("4-проводное"));
        }
    }
}

TEST(BasicPageLists, UnitsOfferedPerSensor)
{
    using Codes = QList<std::int32_t>;
    EXPECT_EQ(UnitListCodes(kNoSelection), (Codes{32, 33, 34, 35, 36, 37}));
    EXPECT_EQ(UnitListCodes(0), (Codes{32, 33, 34, 35, 36, 37}));
    for (int rtd = 1; rtd <= 10; ++rtd)
        EXPECT_EQ(UnitListCodes(rtd), (Codes{32, 33, 34, 35, 37})) << rtd;
    for (int tc = 11; tc <= 19; ++tc)
        EXPECT_EQ(UnitListCodes(tc), (Codes{32, 33, 34, 35, 36})) << tc;
    EXPECT_EQ(UnitListCodes(20), Codes{36});
    EXPECT_EQ(UnitListCodes(21), Codes{37});
    EXPECT_EQ(UnitCodeFromIndex(20, 2), kNoUnit);
    EXPECT_EQ(UnitCodeFromIndex(21, 2), kNoUnit);
    EXPECT_EQ(UnitListEntries(21), (QStringList{QString(), Text("Ом")}));
    EXPECT_EQ(UnitListEntries(14),
              (QStringList{QString(), Text("°C"), Text("°F"), Text("°R"), Text("°K"), Text("мВ")}));
}

// Every entry a units list offers maps to its own unit code, and that code selects the
// entry again (the empty sensor entry selects no unit at all).
TEST(BasicPageLists, EveryOfferedUnitRoundTrips)
{
    for (const int sensor : AllSensorSelections()) {
        const QList<std::int32_t> codes = UnitListCodes(sensor);
        EXPECT_EQ(UnitCodeFromIndex(sensor, 0), kNoUnit);
        EXPECT_EQ(UnitCodeFromIndex(sensor, 7), kNoUnit) << sensor;
        for (int index = 1; index <= codes.size(); ++index) {
            EXPECT_EQ(UnitCodeFromIndex(sensor, index), codes.at(index - 1))
                << sensor << " " << index;
            EXPECT_EQ(UnitsIndexFromCode(sensor, codes.at(index - 1)), sensor == 0 ? 0 : index)
                << sensor;
        }
        EXPECT_EQ(UnitsIndexFromCode(sensor, kNoUnit), 0);
    }
}

TEST(BasicPageLists, StoredUnitsTheSensorDoesNotOfferSelectItsOwnEntry)
{
    struct Case {
        int sensor;
        std::int32_t stored;
        int index;
        std::int32_t shown;
    };
    const Case cases[] = {
        {1, 36, 5, 37},   // resistance thermometer stored with millivolts shows ohms
        {14, 37, 5, 36},  // thermocouple stored with ohms shows millivolts
        {3, 0, 5, 37},    // a code no list knows
        {20, 32, 1, 36},  // the millivolt input has millivolts only
        {21, 33, 1, 37}, {0, 33, 0, kNoUnit}, {kNoSelection, 40, 1, 32},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnitsIndexFromCode(c.sensor, c.stored), c.index) << c.sensor << " " << c.stored;
        EXPECT_EQ(UnitCodeFromIndex(c.sensor, c.index), c.shown) << c.sensor << " " << c.stored;
    }
}

TEST(BasicPageLists, ConnectionIndexAndCode)
{
    const std::pair<int, std::int32_t> indexToCode[] = {{0, kNoSensor},    {1, 2}, {2, 3}, {3, 4},
                                                        {kNoSelection, 2}, {4, 2}};
    for (const auto& [index, code] : indexToCode)
        EXPECT_EQ(ConnectionCodeFromIndex(index), code) << index;

    for (const int sensor : {1, 10, 21}) {
        EXPECT_EQ(ConnectionIndexFromCode(sensor, 2), 1);
        EXPECT_EQ(ConnectionIndexFromCode(sensor, 3), 2);
        EXPECT_EQ(ConnectionIndexFromCode(sensor, 4), 3);
        EXPECT_EQ(ConnectionIndexFromCode(sensor, kNoSensor), 0);
        EXPECT_EQ(ConnectionIndexFromCode(sensor, 5), 0);
    }
    for (const int sensor : {11, 19, 20}) {
        EXPECT_EQ(ConnectionIndexFromCode(sensor, kNoSensor), 1) << sensor;
        EXPECT_EQ(ConnectionIndexFromCode(sensor, 4), 1) << sensor;
    }
    for (const int sensor : {0, kNoSelection}) EXPECT_EQ(ConnectionIndexFromCode(sensor, 4), 0);
}

class BasicPageViewTest : public testing::Test {
protected:
    BasicPageViewTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~BasicPageViewTest() override { QLocale::setDefault(QLocale::c()); }

    static PageValues Sensor(std::int32_t code, std::int32_t connection, std::int32_t units)
    {
        PageValues v;
        v.sensorType = code;
        v.sensorConnection = connection;
        v.rangeUnits = units;
        return v;
    }
};

TEST_F(BasicPageViewTest, ClearedValuesShowNothing)
{
    const BasicPageView view = BasicPageViewOf(PageValues{});
    EXPECT_EQ(view.sensorIndex, kNoSelection);
    EXPECT_EQ(view.connectionEntries.size(), 4);
    EXPECT_EQ(view.unitEntries.size(), 7);
    EXPECT_EQ(view.connectionIndex, 0);
    EXPECT_EQ(view.unitsIndex, 0);
    EXPECT_EQ(view.units.unitCode, kNoUnit);
    for (const QString& text :
         {view.tag, view.sensorText, view.connectionText, view.lowerRangeText, view.upperRangeText,
          view.dampingText, view.units.lowerLimitText, view.units.upperLimitText,
          view.units.lowerUnitLabel, view.units.upperUnitLabel})
        EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    EXPECT_FALSE(view.flagged);
}

TEST_F(BasicPageViewTest, ChosenSensorAndUnitShowLimitsAndLabels)
{
    struct Case {
        std::int32_t code;
        std::int32_t units;
        const char* lower;
        const char* upper;
        const char* label;
    };
    const Case cases[] = {
        {1, 32, "-200.00", "850.00", "°C"},    {1, 33, "-328.00", "1562.00", "°F"},
        {1, 36, "18.52", "390.48", "Ом"},  // stored millivolts show as the ohm entry
        {132, 33, "-292.00", "2501.60", "°F"}, {0, 37, "0.00", "2000.00", "Ом"},
        {128, 36, "-10.00", "100.00", "мВ"},
    };
    for (const Case& c : cases) {
        const BasicPageView view = BasicPageViewOf(Sensor(c.code, 2, c.units));
        EXPECT_EQ(view.units.lowerLimitText, Text(c.lower)) << c.code << " " << c.units;
        EXPECT_EQ(view.units.upperLimitText, Text(c.upper)) << c.code << " " << c.units;
        EXPECT_EQ(view.units.lowerUnitLabel, Text(c.label)) << c.code << " " << c.units;
        EXPECT_EQ(view.units.upperUnitLabel, Text(c.label)) << c.code << " " << c.units;
    }
}

TEST_F(BasicPageViewTest, ThermocoupleShowsTwoWiresWhateverIsStored)
{
    const BasicPageView view = BasicPageViewOf(Sensor(132, kNoSensor, kNoUnit));
    EXPECT_EQ(view.sensorIndex, 14);
    EXPECT_EQ(view.sensorText, Text("Термопара Тип K"));
    EXPECT_EQ(view.connectionIndex, 1);
    EXPECT_EQ(view.connectionText, Text("2-проводное"));
    EXPECT_FALSE(view.unitEntries.contains(Text("Ом")));
    // No unit chosen: no limits and no labels.
    EXPECT_TRUE(view.units.lowerLimitText.isEmpty());
    EXPECT_TRUE(view.units.upperUnitLabel.isEmpty());
}

TEST_F(BasicPageViewTest, UnknownSensorKeepsTheStoredUnitSelected)
{
    const BasicPageView view = BasicPageViewOf(Sensor(2, 4, 33));
    EXPECT_EQ(view.sensorIndex, kNoSelection);
    EXPECT_TRUE(view.sensorText.isEmpty());
    EXPECT_EQ(view.unitsIndex, 2);
    EXPECT_EQ(view.units.unitCode, 33);
    EXPECT_EQ(view.connectionIndex, 0);
    EXPECT_TRUE(view.units.lowerLimitText.isEmpty());
    EXPECT_TRUE(view.units.lowerUnitLabel.isEmpty());
}

TEST_F(BasicPageViewTest, EmptySensorEntryShowsNoLimitsOrLabels)
{
    const UnitsDisplay d = UnitsDisplayFor(0, 1);
    EXPECT_EQ(d.unitCode, 32);
    EXPECT_TRUE(std::isnan(d.lowerSensorLimit) && std::isnan(d.upperSensorLimit));
    EXPECT_TRUE(d.lowerLimitText.isEmpty() && d.upperLimitText.isEmpty());
    EXPECT_TRUE(d.lowerUnitLabel.isEmpty() && d.upperUnitLabel.isEmpty());
}

TEST_F(BasicPageViewTest, PointsAndDampingUseTheirDecimals)
{
    PageValues v = Sensor(1, 4, 32);
    v.lowerRangeValue = -12.345f;
    v.upperRangeValue = 100.0f;
    v.damping = 5.25f;
    v.tag = {u'T', u'T', u'-', u'1', 0, 0, 0, 0, 0};
    const BasicPageView view = BasicPageViewOf(v);
    EXPECT_EQ(view.lowerRangeText, Text("-12.35"));
    EXPECT_EQ(view.upperRangeText, Text("100.00"));
    EXPECT_EQ(view.dampingText, Text("5.2"));
    EXPECT_EQ(view.tag, Text("TT-1"));
}

TEST_F(BasicPageViewTest, OnlyTheColouredFieldsFlagThePage)
{
    for (const ValueFlag flag :
         {ValueFlag::Tag, ValueFlag::SensorType, ValueFlag::SensorConnection, ValueFlag::RangeUnits,
          ValueFlag::LowerRangeValue, ValueFlag::UpperRangeValue, ValueFlag::Damping}) {
        PageValues v;
        v.failed.set(flag);
        EXPECT_TRUE(BasicPageViewOf(v).flagged) << static_cast<int>(flag);
    }
    for (const ValueFlag flag :
         {ValueFlag::LowerSensorLimit, ValueFlag::UpperSensorLimit, ValueFlag::AlarmSelect}) {
        PageValues v;
        v.failed.set(flag);
        EXPECT_FALSE(BasicPageViewOf(v).flagged) << static_cast<int>(flag);
    }
}

TEST(BasicFieldRules, InvalidTagCharactersAreReportedOnceAndRemoved)
{
    struct Case {
        const char* typed;
        const char* kept;
        std::vector<const char*> reported;
    };
    const Case cases[] = {
        {"TT-1_A", "TT-1_A", {}},     {"ЖA", "A", {"Ж"}},
        {"ЖAЖ", "A", {"Ж"}},          {"aЖbA", "A", {"a", "Ж", "b"}},
        {"A\tB`", "AB", {"\t", "`"}},  // below space, and just above the underscore
        {"😀1", "1", {"😀"}},            // one character, even where it takes two UTF-16 units
    };
    for (const Case& c : cases) {
        ScriptedUser user;
        EXPECT_EQ(RemoveInvalidTagCharacters(Text(c.typed), user), Text(c.kept)) << c.typed;
        ASSERT_EQ(user.messages.size(), c.reported.size()) << c.typed;
        for (std::size_t i = 0; i < c.reported.size(); ++i) {
            EXPECT_EQ(user.messages[i].id, 902);
            EXPECT_EQ(user.messages[i].text, std::string("Неверный символ ") + c.reported[i]);
            EXPECT_EQ(user.messages[i].icon, hart::MessageIcon::None);
        }
    }
}

TEST(BasicFieldRules, TagKeepsEightCharactersAndItsZero)
{
    const CVeskDoc::Tag tag = TagFromText(QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(TagText(tag), QStringLiteral("ABCDEFGH"));
    EXPECT_EQ(tag[8], 0);
    const CVeskDoc::Tag shortTag = TagFromText(QStringLiteral("AB"));
    EXPECT_EQ(TagText(shortTag), QStringLiteral("AB"));
    for (std::size_t i = 2; i < shortTag.size(); ++i) EXPECT_EQ(shortTag[i], 0);
}

TEST(BasicFieldRules, DampingAboveThirtyTwoSecondsIsReported)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const std::pair<const char*, bool> cases[] = {
        {"", true},     {"0", true},   {"32", true},  {"32,9", true},
        {"32,5", true}, {"33", false}, {"40", false}, {"99999999999999", false},
    };
    for (const auto& [text, accepted] : cases) {
        ScriptedUser user;
        EXPECT_EQ(CheckDampingLimit(Text(text), user), accepted) << text;
        EXPECT_EQ(user.ids(), accepted ? std::vector<int>{} : std::vector<int>{901}) << text;
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
