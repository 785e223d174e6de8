#include <cmath>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "controls/color_combo_box.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "document/page_values.h"
#include "document/question_box.h"
#include "document/report_lines.h"
#include "pages/basic_prop_page.h"
#include "pages/form_layout_check.h"
#include "pages/page_fixture.h"
#include "support/gui_wait.h"

using namespace document;

namespace {

const QColor kYellow{255, 255, 0};
const QColor kWhite{255, 255, 255};

// Sensor list indexes and unit list indexes used below.
constexpr int kPt100 = 1;           // "PT100 (a = 0.00385)"
constexpr int kThermocoupleK = 14;  // "Термопара Тип K"
constexpr int kOhmInput = 21;       // "Ом"
constexpr int kCelsius = 1;
constexpr int kFahrenheit = 2;

class BasicPageTest : public testing::Test {
protected:
    explicit BasicPageTest(const QLocale& locale = EnglishNumbers()) : locale(locale)
    {
        page.SetDocument(&bench.doc);
        page.RefreshFromDocument();
    }

    template <typename T>
    T* control(int id)
    {
        T* found = FindControlAs<T>(&page, id);
        EXPECT_NE(found, nullptr) << "control " << id;
        return found;
    }
    CMyColorEdit* tag() { return control<CMyColorEdit>(123); }
    CColorComboBox* sensor() { return control<CColorComboBox>(125); }
    CColorComboBox* connection() { return control<CColorComboBox>(127); }
    CColorComboBox* units() { return control<CColorComboBox>(129); }
    CMyColorEdit* lowerRange() { return control<CMyColorEdit>(131); }
    CMyColorEdit* upperRange() { return control<CMyColorEdit>(134); }
    CMyColorEdit* lowerLimit() { return control<CMyColorEdit>(137); }
    CMyColorEdit* upperLimit() { return control<CMyColorEdit>(140); }
    CMyColorEdit* damping() { return control<CMyColorEdit>(143); }
    QPushButton* sendButton() { return control<QPushButton>(1244); }
    QStringList unitLabels()
    {
        QStringList texts;
        for (const int id : {132, 135, 138, 141}) texts << control<QLabel>(id)->text();
        return texts;
    }
    QStringList entries(QComboBox* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
        return texts;
    }

    // PT100, four wires, °C, chosen on the page.
    void ChoosePt100FourWiresCelsius()
    {
        Choose(sensor(), kPt100);
        Choose(connection(), 3);
        Choose(units(), kCelsius);
    }

    DefaultLocale locale;
    DocumentBench bench;
    CBasicPropPage page;
};

class BasicPageRussianTest : public BasicPageTest {
protected:
    BasicPageRussianTest() : BasicPageTest(RussianNumbers()) {}
};

// ---- Start-up and lists -------------------------------------------------------------------

TEST_F(BasicPageTest, FreshDocumentShowsNothingChosenAndFlagsNothing)
{
    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_EQ(sensor()->currentIndex(), -1);  // no selection, not the empty entry
    EXPECT_EQ(sensor()->count(), 22);
    EXPECT_EQ(entries(connection()).size(), 4);
    EXPECT_EQ(connection()->currentIndex(), 0);
    EXPECT_EQ(entries(units()).size(), 7);
    EXPECT_EQ(units()->currentIndex(), 0);
    for (QLineEdit* field : std::vector<QLineEdit*>{tag(), lowerRange(), upperRange(), lowerLimit(),
                                                    upperLimit(), damping()})
        EXPECT_TRUE(field->text().isEmpty()) << ControlId(field);
    EXPECT_EQ(unitLabels(), QStringList(4));
    for (CColorComboBox* list : {sensor(), connection(), units()})
        EXPECT_FALSE(list->isHighlighted());
    for (CMyColorEdit* field : {tag(), lowerRange(), upperRange(), damping()})
        EXPECT_EQ(field->backgroundColor(), kWhite);
    EXPECT_FALSE(lowerLimit()->hasBackgroundColor());  // the limits keep the default look
    EXPECT_TRUE(lowerLimit()->isReadOnly());
    EXPECT_TRUE(upperLimit()->isReadOnly());
    EXPECT_FALSE(bench.doc.IsModified());
    EXPECT_TRUE(bench.doc.IsCleared());
    EXPECT_TRUE(bench.user.messages.empty());
}

TEST_F(BasicPageTest, ThermocoupleOffersTwoWiresAndNoOhms)
{
    Choose(sensor(), kThermocoupleK);
    EXPECT_EQ(sensor()->currentText(), Utf8("Термопара Тип K"));
    EXPECT_EQ(entries(connection()), (QStringList{QString(), Utf8("2-проводное")}));
    EXPECT_EQ(connection()->currentIndex(), 1);
    EXPECT_EQ(entries(units()),
              (QStringList{QString(), Utf8("°C"), Utf8("°F"), Utf8("°R"), Utf8("°K"), Utf8("мВ")}));
    EXPECT_EQ(bench.doc.sensorType(), 132);
    EXPECT_EQ(bench.doc.sensorConnection(), 2);
    EXPECT_TRUE(bench.doc.IsModified());

    Choose(sensor(), kOhmInput);
    EXPECT_EQ(entries(units()), (QStringList{QString(), Utf8("Ом")}));
    EXPECT_EQ(entries(connection()).size(), 4);
}

TEST_F(BasicPageTest, Pt100LimitsFollowTheChosenUnit)
{
    const struct {
        int unitsIndex;
        const char* lower;
        const char* upper;
        const char* symbol;
        std::int32_t unitCode;
    } cases[] = {
        {kCelsius, "-200.00", "850.00", "°C", 32},
        {kFahrenheit, "-328.00", "1562.00", "°F", 33},
    };
    Choose(sensor(), kPt100);
    for (const auto& c : cases) {
        Choose(units(), c.unitsIndex);
        EXPECT_EQ(lowerLimit()->text(), Utf8(c.lower)) << c.symbol;
        EXPECT_EQ(upperLimit()->text(), Utf8(c.upper)) << c.symbol;
        EXPECT_EQ(unitLabels(), QStringList(4, Utf8(c.symbol)));
        EXPECT_EQ(bench.doc.rangeUnits(), c.unitCode);
        EXPECT_EQ(bench.doc.sensorLimitUnits(), c.unitCode);
        EXPECT_EQ(bench.doc.lowerSensorLimit(), lowerLimit()->text().toFloat());
    }
}

TEST_F(BasicPageTest, UnitsChosenWithTheKeyboardAreStored)
{
    Choose(sensor(), kPt100);
    units()->setFocus();
    QTest::keyClick(units(), Qt::Key_Down);
    QTest::keyClick(units(), Qt::Key_Down);
    EXPECT_EQ(units()->currentText(), Utf8("°F"));
    EXPECT_EQ(bench.doc.rangeUnits(), 33);
    EXPECT_EQ(upperLimit()->text(), Utf8("1562.00"));
}

TEST_F(BasicPageTest, EmptySensorEntryClearsLimitsAndUnitLabels)
{
    Choose(sensor(), kPt100);
    Choose(units(), kCelsius);
    ASSERT_FALSE(lowerLimit()->text().isEmpty());
    Choose(sensor(), 0);
    EXPECT_TRUE(lowerLimit()->text().isEmpty());
    EXPECT_TRUE(upperLimit()->text().isEmpty());
    EXPECT_EQ(unitLabels(), QStringList(4));
    EXPECT_TRUE(std::isnan(bench.doc.lowerSensorLimit()));
    EXPECT_TRUE(std::isnan(bench.doc.upperSensorLimit()));
    EXPECT_EQ(bench.doc.sensorType(), 251);
}

TEST_F(BasicPageTest, ConnectionChoiceIsStored)
{
    Choose(sensor(), kPt100);
    for (const auto& [index, code] : {std::pair{2, 3}, {3, 4}, {1, 2}, {0, 251}}) {
        Choose(connection(), index);
        EXPECT_EQ(bench.doc.sensorConnection(), code) << index;
    }
}

// ---- Tag ------------------------------------------------------------------------------------

TEST_F(BasicPageTest, TagKeepsUpperCaseHartCharactersOnly)
{
    const struct {
        const char* typed;
        const char* shown;
        std::vector<int> messages;
    } cases[] = {
        {"TT_-9", "TT_-9", {}},     {"ab", "AB", {}},          // typed letters arrive in upper case
        {"AЖB", "AB", {902}},       {"ЖЖ1", "1", {902, 902}},  // each typed Ж is its own mistake
        {"A~B`", "AB", {902, 902}},
    };
    for (const auto& c : cases) {
        bench.user.messages.clear();
        Retype(tag(), Utf8(c.typed));
        EXPECT_EQ(tag()->text(), Utf8(c.shown)) << c.typed;
        EXPECT_EQ(bench.user.ids(), c.messages) << c.typed;
        EXPECT_EQ(QString::fromUtf16(bench.doc.tag().data()), Utf8(c.shown)) << c.typed;
    }
}

TEST_F(BasicPageTest, PastedTagNamesEachInvalidCharacterOnce)
{
    QGuiApplication::clipboard()->setText(Utf8("ЖЖ1~"));
    QTest::keyClick(tag(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(tag()->text(), Utf8("1"));
    EXPECT_EQ(bench.user.ids(), (std::vector<int>{902, 902}));
    EXPECT_EQ(bench.user.messages[1].text, "Неверный символ ~");
}

TEST_F(BasicPageTest, InvalidTagCharacterIsNamedAndTheFieldKeepsTheFocus)
{
    ASSERT_TRUE(ShowActive(page));
    Type(tag(), Utf8("TЖ"));
    ASSERT_EQ(bench.user.messages.size(), 1u);
    EXPECT_EQ(bench.user.messages[0].id, 902);
    EXPECT_EQ(bench.user.messages[0].text, "Неверный символ Ж");
    EXPECT_EQ(bench.user.messages[0].icon, hart::MessageIcon::None);
    EXPECT_EQ(tag()->text(), Utf8("T"));
    EXPECT_TRUE(tag()->hasFocus());
    EXPECT_EQ(tag()->maxLength(), 8);
}

// ---- Number fields --------------------------------------------------------------------------

TEST_F(BasicPageRussianTest, NumberFieldsKeepDigitsAndOneComma)
{
    ASSERT_TRUE(ShowActive(page));
    const struct {
        CMyColorEdit* field;
        const char* typed;
        const char* kept;
        float stored;
    } cases[] = {
        {lowerRange(), "1,2,3", "1,23", 1.23f}, {lowerRange(), "-1-2", "-12", -12.0f},
        {upperRange(), "1.5", "15", 15.0f},  // the point is not the separator here
        {damping(), "-5", "5", 5.0f},           {damping(), "2,5", "2,5", 2.5f},
    };
    for (const auto& c : cases) {
        sendButton()->setFocus();
        Retype(c.field, Utf8(c.typed));
        EXPECT_EQ(c.field->text(), Utf8(c.kept)) << c.typed;
        EXPECT_EQ(c.field->cursorPosition(), c.field->text().size()) << c.typed;
        // A field whose text the filter changed takes the focus.
        EXPECT_EQ(c.field->hasFocus(), Utf8(c.typed) != Utf8(c.kept)) << c.typed;
    }
    EXPECT_EQ(bench.doc.lowerRangeValue(), -12.0f);
    EXPECT_EQ(bench.doc.upperRangeValue(), 15.0f);
    EXPECT_EQ(bench.doc.damping(), 2.5f);
    EXPECT_EQ(lowerRange()->maxLength(), 7);
    EXPECT_EQ(damping()->maxLength(), 4);
}

TEST_F(BasicPageRussianTest, RefreshShowsValuesWithTheLocaleComma)
{
    bench.doc.setLowerRangeValue(-12.5f);
    bench.doc.setDamping(5.0f);
    page.RefreshFromDocument();
    EXPECT_EQ(lowerRange()->text(), Utf8("-12,50"));
    EXPECT_EQ(damping()->text(), Utf8("5,0"));
}

TEST_F(BasicPageTest, RangePointsStoreOnlyRealChanges)
{
    // Not-set replacing not-set is no change for the points.
    Retype(lowerRange(), QStringLiteral("x"));
    EXPECT_TRUE(lowerRange()->text().isEmpty());
    EXPECT_FALSE(bench.doc.IsModified());

    Retype(lowerRange(), QStringLiteral("5"));
    EXPECT_EQ(bench.doc.lowerRangeValue(), 5.0f);
    EXPECT_TRUE(bench.doc.IsModified());
    EXPECT_FALSE(bench.doc.IsCleared());

    Retype(lowerRange(), QString());
    EXPECT_TRUE(std::isnan(bench.doc.lowerRangeValue()));
}

TEST_F(BasicPageTest, DampingAboveThirtyTwoIsReportedWhenTheFieldIsLeft)
{
    ASSERT_TRUE(ShowActive(page));
    const struct {
        const char* typed;
        bool reported;
    } cases[] = {{"40", true}, {"32.9", false}, {"32.5", false}, {"33", true}};
    for (const auto& c : cases) {
        bench.user.messages.clear();
        damping()->setFocus();
        Retype(damping(), Utf8(c.typed));
        lowerRange()->setFocus();
        if (c.reported) {
            EXPECT_TRUE(WaitUntil([&] { return !bench.user.messages.empty(); })) << c.typed;
            EXPECT_EQ(bench.user.ids(), std::vector<int>{901}) << c.typed;
            EXPECT_TRUE(WaitUntil([&] { return damping()->hasFocus(); })) << c.typed;
        } else {
            // The check runs once the focus has moved on: let it run, then nothing was said.
            QCoreApplication::processEvents();
            EXPECT_TRUE(bench.user.messages.empty()) << c.typed;
            EXPECT_TRUE(lowerRange()->hasFocus()) << c.typed;
        }
        EXPECT_EQ(bench.doc.damping(), damping()->text().toFloat()) << c.typed;  // stays as typed
    }
}

TEST_F(BasicPageTest, RefusedDampingStopsTheClickThatLeftIt)
{
    ASSERT_TRUE(ShowActive(page));
    ChoosePt100FourWiresCelsius();
    damping()->setFocus();
    Retype(damping(), QStringLiteral("40"));
    QTest::mouseClick(sendButton(), Qt::LeftButton);
    // The warning came before the button could act, and the button did not act.
    EXPECT_EQ(bench.user.ids(), std::vector<int>{901});
    EXPECT_TRUE(bench.questionIds().empty());
    EXPECT_TRUE(damping()->hasFocus());
    EXPECT_TRUE(bench.lineUntouched());

    // Corrected, the same click sends (and is cancelled at its question).
    Retype(damping(), QStringLiteral("4"));
    QTest::mouseClick(sendButton(), Qt::LeftButton);
    EXPECT_EQ(bench.user.ids(), std::vector<int>{901});
    EXPECT_EQ(bench.questionIds(), std::vector<int>{905});
}

// ---- Colours and refresh --------------------------------------------------------------------

TEST_F(BasicPageTest, RefreshPaintsEachRefusedValueYellow)
{
    using transmitter::CTransmitter;
    const struct {
        int CTransmitter::*flag;
        int id;
    } cases[] = {
        {&CTransmitter::tagFailed, 123},
        {&CTransmitter::sensorTypeFailed, 125},
        {&CTransmitter::sensorConnectionFailed, 127},
        {&CTransmitter::rangeUnitsFailed, 129},
        {&CTransmitter::lowerRangeValueFailed, 131},
        {&CTransmitter::upperRangeValueFailed, 134},
        {&CTransmitter::dampingFailed, 143},
    };
    const int coloured[] = {123, 125, 127, 129, 131, 134, 143};
    for (const auto& c : cases) {
        bench.doc.transmitter().*c.flag = 1;
        EXPECT_TRUE(page.RefreshFromDocument()) << c.id;
        for (const int id : coloured) {
            QWidget* widget = FindControl(&page, id);
            const bool yellow = id == c.id;
            if (auto* list = qobject_cast<CColorComboBox*>(widget))
                EXPECT_EQ(list->isHighlighted(), yellow) << c.id << " shows " << id;
            else
                EXPECT_EQ(qobject_cast<CMyColorEdit*>(widget)->backgroundColor(),
                          yellow ? kYellow : kWhite)
                    << c.id << " shows " << id;
        }
        bench.doc.transmitter().*c.flag = 0;
    }
    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_FALSE(bench.doc.IsModified());
}

TEST_F(BasicPageTest, RefusedLimitsDoNotFlagThePage)
{
    bench.doc.transmitter().lowerSensorLimitFailed = 1;
    bench.doc.transmitter().upperSensorLimitFailed = 1;
    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_FALSE(lowerLimit()->hasBackgroundColor());
}

TEST_F(BasicPageTest, EditingClearsTheFlagButTheColourWaitsForTheRefresh)
{
    bench.doc.transmitter().sensorTypeFailed = 1;
    bench.doc.transmitter().upperRangeValueFailed = 1;
    ASSERT_TRUE(page.RefreshFromDocument());
    // A refresh shows the flags and keeps them: a later refresh still shows them.
    ASSERT_TRUE(page.RefreshFromDocument());

    Choose(sensor(), kPt100);
    Retype(upperRange(), QStringLiteral("100"));
    EXPECT_FALSE(bench.doc.sensorTypeFailed());
    EXPECT_FALSE(bench.doc.upperRangeValueFailed());
    EXPECT_TRUE(sensor()->isHighlighted());
    EXPECT_EQ(upperRange()->backgroundColor(), kYellow);

    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_FALSE(sensor()->isHighlighted());
    EXPECT_EQ(upperRange()->backgroundColor(), kWhite);
}

TEST_F(BasicPageTest, RefreshShowsTheStoredConfiguration)
{
    transmitter::CTransmitter& t = bench.doc.transmitter();
    t.sensorType = 1;
    t.sensorConnection = 4;
    t.rangeUnits = 33;
    t.lowerRangeValue = 0.004f;
    t.upperRangeValue = 212.0f;
    t.damping = 2.25f;
    t.tag[0] = u'T';
    t.tag[1] = u'a';  // outside the tag characters: shown as a space
    t.tag[2] = u'1';
    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_EQ(tag()->text(), Utf8("T 1"));
    EXPECT_EQ(sensor()->currentText(), Utf8("PT100 (a = 0.00385)"));
    EXPECT_EQ(connection()->currentText(), Utf8("4-проводное"));
    EXPECT_EQ(units()->currentText(), Utf8("°F"));
    EXPECT_EQ(lowerRange()->text(), Utf8("0.00"));
    EXPECT_EQ(upperRange()->text(), Utf8("212.00"));
    EXPECT_EQ(damping()->text(), Utf8("2.2"));
    EXPECT_EQ(lowerLimit()->text(), Utf8("-328.00"));
    EXPECT_EQ(unitLabels(), QStringList(4, Utf8("°F")));
    // The shown texts are not stored back: the values keep their precision.
    EXPECT_EQ(bench.doc.lowerRangeValue(), 0.004f);
    EXPECT_EQ(bench.doc.damping(), 2.25f);
    EXPECT_EQ(bench.doc.lowerSensorLimit(), -328.0f);  // the limits of what is shown
    EXPECT_FALSE(bench.doc.IsModified());
}

TEST_F(BasicPageTest, RefreshTurnsAUnitTheSensorLacksIntoTheShownOne)
{
    bench.doc.transmitter().sensorType = 1;
    bench.doc.transmitter().rangeUnits = 36;  // millivolts for a resistance thermometer
    page.RefreshFromDocument();
    EXPECT_EQ(units()->currentText(), Utf8("Ом"));
    EXPECT_EQ(bench.doc.rangeUnits(), 37);
    EXPECT_TRUE(bench.doc.IsModified());
}

TEST_F(BasicPageTest, UnknownSensorCodeSelectsNothing)
{
    bench.doc.transmitter().sensorType = 2;  // no row of the sensor table
    bench.doc.transmitter().rangeUnits = 33;
    page.RefreshFromDocument();
    EXPECT_EQ(sensor()->currentIndex(), -1);
    EXPECT_EQ(units()->currentText(), Utf8("°F"));
    EXPECT_TRUE(lowerLimit()->text().isEmpty());
    EXPECT_EQ(unitLabels(), QStringList(4));
}

// ---- Sending --------------------------------------------------------------------------------

TEST_F(BasicPageTest, SendButtonFollowsTheDeviceControls)
{
    page.EnableDeviceControls(false);
    EXPECT_FALSE(sendButton()->isEnabled());
    page.EnableDeviceControls(true);
    EXPECT_TRUE(sendButton()->isEnabled());
}

// Each case is set up on the page, then the send button is pressed: a refused check shows
// its one error and sends nothing; a passing one runs the document's basic send, which
// first asks question 905 (answered "Отмена" here).
TEST_F(BasicPageTest, SendChecksFireAtTheirBounds)
{
    const struct {
        const char* name;
        bool choices;  // PT100, four wires, °C
        const char* lower;
        const char* upper;
        int message;  // 0: the check passes
    } cases[] = {
        {"nothing chosen", false, "", "", 0},
        {"points without choices", false, "0", "100", 1269},
        {"choices, no points", true, "", "", 0},
        {"only the 20 mA point", true, "", "100", 1267},
        {"only the 4 mA point", true, "0", "", 1266},
        {"span 0.005", true, "0", "0.005", 1268},
        {"span 0.01", true, "0", "0.01", 0},
        {"reversed points", true, "100", "0", 0},
        {"4 mA at the lower limit", true, "-200.00", "100", 0},
        {"4 mA below the lower limit", true, "-200.01", "100", 1270},
        {"20 mA within the tolerance", true, "0", "850.004", 0},
        {"20 mA above the upper limit", true, "0", "850.006", 1271},
    };
    for (const auto& c : cases) {
        PageOnDocument<CBasicPropPage> fresh;
        if (c.choices) {
            Choose(FindControlAs<QComboBox>(&fresh.page, 125), kPt100);
            Choose(FindControlAs<QComboBox>(&fresh.page, 127), 3);
            Choose(FindControlAs<QComboBox>(&fresh.page, 129), kCelsius);
        }
        Retype(FindControlAs<QLineEdit>(&fresh.page, 131), Utf8(c.lower));
        Retype(FindControlAs<QLineEdit>(&fresh.page, 134), Utf8(c.upper));
        QTest::mouseClick(FindControlAs<QPushButton>(&fresh.page, 1244), Qt::LeftButton);
        ExpectSendOutcome(fresh.bench, c.message, 905, c.name);
    }
}

TEST_F(BasicPageTest, SendChecksTheListsAsThePageShowsThem)
{
    // A thermocouple always shows two wires, so the page's check finds a connection even
    // though none is stored.
    bench.doc.transmitter().sensorType = 132;
    page.RefreshFromDocument();
    ASSERT_EQ(bench.doc.sensorConnection(), 251);
    EXPECT_TRUE(page.ValidateForSend());
    EXPECT_TRUE(bench.user.messages.empty());

    Choose(sensor(), kPt100);
    Choose(units(), kCelsius);
    EXPECT_FALSE(page.ValidateForSend());
    EXPECT_EQ(bench.user.ids(), std::vector<int>{1263});
    Choose(units(), 0);
    bench.user.messages.clear();
    EXPECT_FALSE(page.ValidateForSend());
    EXPECT_EQ(bench.user.ids(), std::vector<int>{1264});
}

TEST_F(BasicPageTest, PassingSendRunsTheDocumentsSend)
{
    ChoosePt100FourWiresCelsius();
    bench.user.answers = {IDOK,
                          IDCANCEL};  // continue at 905; cancel the search for the transmitter
    QTest::mouseClick(sendButton(), Qt::LeftButton);
    EXPECT_EQ(bench.questionIds(), (std::vector<int>{905, 906}));
    EXPECT_GT(bench.fake.counters().writes, 0);  // the search went out on the line
    EXPECT_EQ(bench.doc.progress(), 0);
}

// ---- Report section -------------------------------------------------------------------------

// Puts values into the parameter set behind the page's back.
using Fill = void (*)(transmitter::CTransmitter&);

TEST_F(BasicPageTest, PrintSectionShowsWhatTheRuleFunctionSays)
{
    const struct {
        const char* name;
        Fill fill;
    } cases[] = {
        {"cleared", [](transmitter::CTransmitter&) {}},
        {"PT100 in °C",
         [](transmitter::CTransmitter& t) {
             t.sensorType = 1;
             t.sensorConnection = 4;
             t.rangeUnits = 32;
             t.lowerRangeValue = 0.0f;
             t.upperRangeValue = 100.0f;
             t.damping = 5.0f;
             t.tag[0] = u'A';
         }},
        {"thermocouple in mV, 20 mA not set",
         [](transmitter::CTransmitter& t) {
             t.sensorType = 132;
             t.sensorConnection = 3;
             t.rangeUnits = 36;
             t.lowerRangeValue = -1.5f;
         }},
        {"unknown sensor",
         [](transmitter::CTransmitter& t) {
             t.sensorType = 2;
             t.rangeUnits = 33;
             t.upperRangeValue = 7.0f;
             t.sensorTypeFailed = 1;
         }},
    };
    for (const auto& c : cases) {
        PageOnDocument<CBasicPropPage> fresh;
        c.fill(fresh.bench.doc.transmitter());
        fresh.page.RefreshFromDocument();
        ExpectSectionOfTheReport(fresh.page.PrintSection(), fresh.bench.doc, 0, 8, c.name);
    }
}

TEST_F(BasicPageTest, PrintSectionTakesTheFieldsAsTyped)
{
    ChoosePt100FourWiresCelsius();
    Retype(upperRange(), QStringLiteral("12.5"));
    const std::vector<ReportLine> printed = page.PrintSection();
    ASSERT_EQ(printed.size(), 8u);
    EXPECT_EQ(printed[4].label + printed[4].valueColumnText(), Utf8("Точка 20 мА: 12.5 °C"));
    EXPECT_EQ(printed[3].label + printed[3].valueColumnText(), Utf8("Точка 4 мА:  "));
    EXPECT_EQ(printed[7].label + printed[7].valueColumnText(), Utf8("Демпфирование:  "));
}

// The typing limits are for the user: values from a file or the transmitter show whole,
// and the report prints them as the page shows them.
TEST_F(BasicPageTest, ShownValuesAreNotCutByTheTypingLimits)
{
    transmitter::CTransmitter& t = bench.doc.transmitter();
    t.sensorType = 1;
    t.sensorConnection = 4;
    t.rangeUnits = 32;
    t.lowerRangeValue = -1234.5f;
    t.upperRangeValue = 0.0f;
    t.damping = 123.4f;
    page.RefreshFromDocument();
    EXPECT_EQ(lowerRange()->text(), QStringLiteral("-1234.50"));
    EXPECT_EQ(damping()->text(), QStringLiteral("123.4"));
    ExpectSectionOfTheReport(page.PrintSection(), bench.doc, 0, 8, "long values");
    EXPECT_EQ(page.PrintSection()[3].label + page.PrintSection()[3].valueColumnText(),
              Utf8("Точка 4 мА: -1234.50 °C"));

    // Typing stays limited: a shown text may be shortened, not lengthened.
    lowerRange()->setFocus();
    lowerRange()->end(false);
    QTest::keyClick(lowerRange(), Qt::Key_1);
    EXPECT_EQ(lowerRange()->text(), QStringLiteral("-1234.50"));
    QTest::keyClick(lowerRange(), Qt::Key_Backspace);
    QTest::keyClick(lowerRange(), Qt::Key_Backspace);
    QTest::keyClicks(lowerRange(), "12");
    EXPECT_EQ(lowerRange()->text(), QStringLiteral("-1234.1"));
    Retype(upperRange(), QStringLiteral("123456789"));
    EXPECT_EQ(upperRange()->text(), QStringLiteral("1234567"));
}

// ---- Form -----------------------------------------------------------------------------------

TEST_F(BasicPageTest, FormShowsEveryTextInFull)
{
    page.show();
    // The widest value an edit holds: seven characters of a limit or a point.
    EXPECT_EQ(ClippedTexts(&page, QStringLiteral("-8888.88")).join(u'\n').toStdString(), "");
    EXPECT_EQ(OverlappingControls(&page).join(u'\n').toStdString(), "");
    EXPECT_TRUE(FitsTheTabControl(&page));
}

}  // namespace
