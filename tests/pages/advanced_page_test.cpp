#include <cmath>
#include <vector>

#include <QPushButton>

#include <gtest/gtest.h>

#include "controls/color_combo_box.h"
#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "document/page_values.h"
#include "document/question_box.h"
#include "document/report_lines.h"
#include "pages/advanced_prop_page.h"
#include "pages/form_layout_check.h"
#include "pages/page_fixture.h"

using namespace document;

namespace {

enum Box {
    kAlarm = 145,
    kLowAlarm = 147,
    kHighAlarm = 149,
    kLowSat = 151,
    kHighSat = 153,
    kFilter = 155,
    kProtect = 157
};
constexpr int kAllBoxes[] = {kAlarm, kLowAlarm, kHighAlarm, kLowSat, kHighSat, kFilter, kProtect};
constexpr int kLevelBoxes[] = {kLowAlarm, kHighAlarm, kLowSat, kHighSat};

class AdvancedPageTest : public testing::Test {
protected:
    explicit AdvancedPageTest(const QLocale& locale = EnglishNumbers()) : locale(locale)
    {
        page.SetDocument(&bench.doc);
        page.RefreshFromDocument();
    }

    CColorComboBox* box(int id)
    {
        auto* found = FindControlAs<CColorComboBox>(&page, id);
        EXPECT_NE(found, nullptr) << "control " << id;
        return found;
    }
    QLineEdit* levelField(int id) { return box(id)->lineEdit(); }
    QPushButton* sendButton() { return FindControlAs<QPushButton>(&page, 1244); }
    QStringList entries(int id)
    {
        QStringList texts;
        for (int i = 0; i < box(id)->count(); ++i) texts << box(id)->itemText(i);
        return texts;
    }
    // Types the four levels (low alarm, high alarm, low saturation, high saturation).
    void TypeLevels(const char* la, const char* ha, const char* ls, const char* hs)
    {
        Retype(levelField(kLowAlarm), Utf8(la));
        Retype(levelField(kHighAlarm), Utf8(ha));
        Retype(levelField(kLowSat), Utf8(ls));
        Retype(levelField(kHighSat), Utf8(hs));
    }

    DefaultLocale locale;
    DocumentBench bench;
    CAdvancedPropPage page;
};

class AdvancedPageRussianTest : public AdvancedPageTest {
protected:
    AdvancedPageRussianTest() : AdvancedPageTest(RussianNumbers()) {}
};

// ---- Start-up and lists -------------------------------------------------------------------

TEST_F(AdvancedPageTest, FreshDocumentShowsEmptyBoxesAndFlagsNothing)
{
    EXPECT_FALSE(page.RefreshFromDocument());
    for (const int id : {kAlarm, kFilter, kProtect}) EXPECT_EQ(box(id)->currentIndex(), 0) << id;
    for (const int id : kLevelBoxes) {
        EXPECT_TRUE(box(id)->currentText().isEmpty()) << id;
        EXPECT_TRUE(box(id)->isEditable()) << id;
    }
    for (const int id : kAllBoxes) EXPECT_FALSE(box(id)->isHighlighted()) << id;
    EXPECT_FALSE(bench.doc.IsModified());
    EXPECT_TRUE(bench.doc.IsCleared());
}

TEST_F(AdvancedPageTest, ListsOfferTheirEntries)
{
    const struct {
        int id;
        std::vector<const char*> entries;
    } cases[] = {
        {kAlarm, {"", "Высокий", "Низкий"}},       {kLowAlarm, {"", "3.50"}},
        {kHighAlarm, {"", "21.00", "23.00"}},      {kLowSat, {"", "3.70", "3.90"}},
        {kHighSat, {"", "20.50", "20.90"}},        {kFilter, {"", "60 Гц", "50 Гц"}},
        {kProtect, {"", "выключена", "включена"}},
    };
    for (const auto& c : cases) {
        QStringList expected;
        for (const char* entry : c.entries) expected << Utf8(entry);
        EXPECT_EQ(entries(c.id), expected) << c.id;
    }
}

TEST_F(AdvancedPageRussianTest, SuggestedLevelsUseTheLocaleComma)
{
    EXPECT_EQ(entries(kHighSat), (QStringList{QString(), Utf8("20,50"), Utf8("20,90")}));
}

TEST_F(AdvancedPageTest, ChoicesStoreTheirCodes)
{
    const struct {
        int id;
        std::int32_t (CVeskDoc::*stored)() const;
    } cases[] = {
        {kAlarm, &CVeskDoc::alarmSelect},
        {kFilter, &CVeskDoc::lineFilter},
        {kProtect, &CVeskDoc::writeProtect},
    };
    for (const auto& c : cases) {
        for (const auto& [index, code] : {std::pair{1, 0}, {2, 1}, {0, 2}}) {
            Choose(box(c.id), index);
            EXPECT_EQ((bench.doc.*c.stored)(), code) << c.id << " index " << index;
        }
    }
    EXPECT_TRUE(bench.doc.IsModified());
}

TEST_F(AdvancedPageTest, LowAlarmChoiceBringsTheNoticeEveryTime)
{
    Choose(box(kAlarm), 2);
    Choose(box(kAlarm), 1);
    Choose(box(kAlarm), 2);
    EXPECT_EQ(bench.user.ids(), (std::vector<int>{903, 903}));
    EXPECT_EQ(bench.user.messages[0].icon, hart::MessageIcon::None);
    EXPECT_EQ(bench.doc.alarmSelect(), 1);  // the choice stands
}

TEST_F(AdvancedPageTest, AlarmChosenWithTheKeyboardIsStored)
{
    box(kAlarm)->setFocus();
    QTest::keyClick(box(kAlarm), Qt::Key_Down);
    EXPECT_EQ(bench.doc.alarmSelect(), 0);
    QTest::keyClick(box(kAlarm), Qt::Key_Down);
    EXPECT_EQ(bench.doc.alarmSelect(), 1);
    EXPECT_EQ(bench.user.ids(), std::vector<int>{903});
}

// ---- Levels ---------------------------------------------------------------------------------

TEST_F(AdvancedPageTest, ChosenSuggestionIsStored)
{
    Choose(box(kHighAlarm), 2);
    EXPECT_EQ(bench.doc.highAlmVal(), 23.0f);
    Choose(box(kLowSat), 1);
    EXPECT_EQ(bench.doc.lowSatVal(), 3.7f);
    Choose(box(kLowSat), 0);
    EXPECT_TRUE(std::isnan(bench.doc.lowSatVal()));
}

TEST_F(AdvancedPageRussianTest, LevelFieldsKeepDigitsAndOneComma)
{
    ASSERT_TRUE(ShowActive(page));
    const struct {
        const char* typed;
        const char* kept;
        float stored;
    } cases[] = {
        {"3,5,0", "3,50", 3.5f},
        {"-3,7", "3,7", 3.7f},  // levels are never negative
        {"21a", "21", 21.0f},
    };
    for (const auto& c : cases) {
        sendButton()->setFocus();
        Retype(levelField(kLowAlarm), Utf8(c.typed));
        EXPECT_EQ(levelField(kLowAlarm)->text(), Utf8(c.kept)) << c.typed;
        EXPECT_EQ(levelField(kLowAlarm)->cursorPosition(), levelField(kLowAlarm)->text().size())
            << c.typed;
        EXPECT_TRUE(levelField(kLowAlarm)->hasFocus()) << c.typed;
        EXPECT_EQ(bench.doc.lowAlmVal(), c.stored) << c.typed;
    }
    EXPECT_EQ(box(kLowAlarm)->count(), 2);  // typed values never join the list
}

TEST_F(AdvancedPageTest, EveryLevelStoreIsAChange)
{
    // Unlike the range points, a level compares plainly: not set over not set is a change.
    Retype(levelField(kHighSat), QStringLiteral("x"));
    EXPECT_TRUE(levelField(kHighSat)->text().isEmpty());
    EXPECT_TRUE(std::isnan(bench.doc.highSatVal()));
    EXPECT_TRUE(bench.doc.IsModified());
}

// Each case is typed on the page, then the send button is pressed: a refused check shows its
// one error and sends nothing; a passing one runs the document's advanced send, which looks
// for the transmitter and asks question 906 when it does not answer.
TEST_F(AdvancedPageTest, LevelChecksFireAtTheirBounds)
{
    const struct {
        const char* la;
        const char* ha;
        const char* ls;
        const char* hs;
        int message;  // 0: the checks pass
    } cases[] = {
        {"3.50", "21.00", "3.70", "20.50", 0},
        {"3.50", "21.00", "3.90", "20.90", 0},
        {"", "", "", "", 0},
        {"3.50", "21.00", "3.70", "", 1253},
        {"3.4998", "21", "3.7", "20.5", 1254},
        {"3.4999", "21", "3.7", "20.5", 0},
        {"3.7502", "21", "3.9", "20.5", 1255},
        {"3.75", "21", "3.80", "20.5", 1257},
        {"3.75", "21", "3.85", "20.5", 0},
        {"3.75", "21", "3.9001", "20.5", 0},
        {"3.75", "21", "3.9002", "20.5", 1258},
        {"3.70", "21", "3.6999", "20.5", 0},
        {"3.70", "21", "3.69", "20.5", 1256},
        {"3.5", "21", "3.7", "20.4998", 1259},
        {"3.5", "21.00", "3.7", "20.90", 0},
        {"3.5", "21.00", "3.7", "20.95", 1260},
        {"3.5", "20.99", "3.7", "20.5", 1261},
        {"3.5", "23.0001", "3.7", "20.5", 0},
        {"3.5", "23.0002", "3.7", "20.5", 1262},
    };
    for (const auto& c : cases) {
        const std::string name = std::string(c.la) + " / " + c.ha + " / " + c.ls + " / " + c.hs;
        PageOnDocument<CAdvancedPropPage> fresh;
        const char* typed[] = {c.la, c.ha, c.ls, c.hs};
        for (int i = 0; i < 4; ++i)
            Retype(FindControlAs<QComboBox>(&fresh.page, kLevelBoxes[i])->lineEdit(),
                   Utf8(typed[i]));
        QTest::mouseClick(FindControlAs<QPushButton>(&fresh.page, 1244), Qt::LeftButton);
        ExpectSendOutcome(fresh.bench, c.message, 906, name);
    }
}

TEST_F(AdvancedPageTest, PassingSendLooksForTheTransmitter)
{
    Choose(box(kLowAlarm), 1);
    Choose(box(kHighAlarm), 1);
    Choose(box(kLowSat), 1);
    Choose(box(kHighSat), 1);
    bench.user.answers = {IDCANCEL};
    QTest::mouseClick(sendButton(), Qt::LeftButton);
    EXPECT_EQ(bench.questionIds(), std::vector<int>{906});  // no question 905 on this path
    EXPECT_GT(bench.fake.counters().writes, 0);
}

TEST_F(AdvancedPageTest, SendButtonFollowsTheDeviceControls)
{
    page.EnableDeviceControls(false);
    EXPECT_FALSE(sendButton()->isEnabled());
    page.EnableDeviceControls(true);
    EXPECT_TRUE(sendButton()->isEnabled());
}

// ---- Colours and refresh --------------------------------------------------------------------

TEST_F(AdvancedPageTest, RefreshHighlightsEachRefusedValue)
{
    using transmitter::CTransmitter;
    const struct {
        int CTransmitter::*flag;
        int id;
    } cases[] = {
        {&CTransmitter::alarmSelectFailed, kAlarm},    {&CTransmitter::lowAlmValFailed, kLowAlarm},
        {&CTransmitter::highAlmValFailed, kHighAlarm}, {&CTransmitter::lowSatValFailed, kLowSat},
        {&CTransmitter::highSatValFailed, kHighSat},   {&CTransmitter::lineFilterFailed, kFilter},
        {&CTransmitter::writeProtectFailed, kProtect},
    };
    for (const auto& c : cases) {
        bench.doc.transmitter().*c.flag = 1;
        EXPECT_TRUE(page.RefreshFromDocument()) << c.id;
        for (const int id : kAllBoxes)
            EXPECT_EQ(box(id)->isHighlighted(), id == c.id) << c.id << " shows " << id;
        EXPECT_EQ(box(c.id)->backgroundColor(), QColor(255, 255, 0));
        bench.doc.transmitter().*c.flag = 0;
    }
    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_FALSE(bench.doc.IsModified());
}

TEST_F(AdvancedPageTest, RefreshPutsLevelsIntoTheTextFields)
{
    transmitter::CTransmitter& t = bench.doc.transmitter();
    t.alarmSelect = 1;
    t.lowAlmVal = 3.5f;
    t.highAlmVal = 21.754f;
    t.lineFilter = 0;
    t.writeProtect = 7;  // outside the list: the empty entry
    t.lowSatValFailed = 1;
    Choose(box(kLowAlarm), 1);  // a chosen entry gives way to the stored value's text

    EXPECT_TRUE(page.RefreshFromDocument());
    EXPECT_EQ(box(kAlarm)->currentText(), Utf8("Низкий"));
    EXPECT_EQ(box(kLowAlarm)->currentText(), Utf8("3.50"));
    EXPECT_EQ(box(kLowAlarm)->currentIndex(), -1);
    EXPECT_EQ(box(kHighAlarm)->currentText(), Utf8("21.75"));
    EXPECT_TRUE(box(kLowSat)->currentText().isEmpty());
    EXPECT_EQ(box(kFilter)->currentText(), Utf8("60 Гц"));
    EXPECT_EQ(box(kProtect)->currentIndex(), 0);
    // Nothing is stored back: precision, not-set values and flags stay as they were.
    EXPECT_EQ(bench.doc.highAlmVal(), 21.754f);
    EXPECT_TRUE(std::isnan(bench.doc.lowSatVal()));
    EXPECT_TRUE(bench.doc.lowSatValFailed());
    EXPECT_EQ(bench.user.ids(), std::vector<int>{});
}

TEST_F(AdvancedPageTest, EditingClearsTheFlagButTheColourWaitsForTheRefresh)
{
    bench.doc.transmitter().highSatValFailed = 1;
    bench.doc.transmitter().lineFilterFailed = 1;
    ASSERT_TRUE(page.RefreshFromDocument());
    ASSERT_TRUE(page.RefreshFromDocument());

    Retype(levelField(kHighSat), QStringLiteral("20.5"));
    Choose(box(kFilter), 2);
    EXPECT_FALSE(bench.doc.highSatValFailed());
    EXPECT_FALSE(bench.doc.lineFilterFailed());
    EXPECT_TRUE(box(kHighSat)->isHighlighted());
    EXPECT_TRUE(box(kFilter)->isHighlighted());

    EXPECT_FALSE(page.RefreshFromDocument());
    EXPECT_FALSE(box(kHighSat)->isHighlighted());
    EXPECT_FALSE(box(kFilter)->isHighlighted());
}

// ---- Report section -------------------------------------------------------------------------

TEST_F(AdvancedPageTest, PrintSectionShowsWhatTheRuleFunctionSays)
{
    using Fill = void (*)(transmitter::CTransmitter&);
    const struct {
        const char* name;
        Fill fill;
    } cases[] = {
        {"cleared", [](transmitter::CTransmitter&) {}},
        {"example configuration",
         [](transmitter::CTransmitter& t) {
             t.alarmSelect = 0;
             t.lowAlmVal = 3.75f;
             t.highAlmVal = 21.75f;
             t.lowSatVal = 3.9f;
             t.highSatVal = 20.5f;
             t.lineFilter = 1;
             t.writeProtect = 0;
         }},
        {"some levels, codes outside the lists",
         [](transmitter::CTransmitter& t) {
             t.alarmSelect = 9;
             t.highSatVal = 20.9f;
             t.writeProtect = 1;
             t.highSatValFailed = 1;
         }},
    };
    for (const auto& c : cases) {
        PageOnDocument<CAdvancedPropPage> fresh;
        c.fill(fresh.bench.doc.transmitter());
        fresh.page.RefreshFromDocument();
        ExpectSectionOfTheReport(fresh.page.PrintSection(), fresh.bench.doc, 8, 7, c.name);
    }
}

TEST_F(AdvancedPageTest, PrintSectionTakesTheBoxesAsTyped)
{
    Retype(levelField(kLowAlarm), QStringLiteral("3.5"));
    Choose(box(kHighAlarm), 2);
    const std::vector<ReportLine> printed = page.PrintSection();
    ASSERT_EQ(printed.size(), 7u);
    EXPECT_EQ(printed[1].label + printed[1].valueColumnText(),
              Utf8("Низкий уровень аварии: 3.5 мА"));
    EXPECT_EQ(printed[2].label + printed[2].valueColumnText(),
              Utf8("Высокий уровень аварии: 23.00 мА"));
    EXPECT_EQ(printed[3].label + printed[3].valueColumnText(), Utf8("Нижнее насыщение:  "));
}

// ---- Form -----------------------------------------------------------------------------------

TEST_F(AdvancedPageTest, FormShowsEveryTextInFull)
{
    page.show();
    EXPECT_EQ(ClippedTexts(&page, QStringLiteral("23.0001")).join(u'\n').toStdString(), "");
    EXPECT_EQ(OverlappingControls(&page).join(u'\n').toStdString(), "");
    EXPECT_TRUE(FitsTheTabControl(&page));
}

}  // namespace
