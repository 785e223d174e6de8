// The Calibration tab: its controls, step tables and enabling, the number fields with their
// filters and focus checks, and both procedures driven through the page against the
// simulated transmitter, with a scripted user and scripted dialogs.
#include <cmath>
#include <map>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "calibration/cal_prop_page.h"
#include "calibration/modal_answerer.h"
#include "calibration/simulated_document.h"
#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "document/question_box.h"
#include "pages/basic_prop_page.h"
#include "pages/form_layout_check.h"
#include "support/fake_sleeper.h"
#include "support/gui_wait.h"

using namespace document;
using Bytes = std::vector<std::uint8_t>;
using Step = CCalPropPage::Step;

namespace {

// The controls whose enabling the steps decide.
const int kStepControls[] = {1266, 1265, 1253, 1256, 1261, 1263, 1257, 1250,
                             1251, 1247, 1259, 1258, 1246, 1255, 1248};

std::map<int, bool> Enabled(QWidget* page)
{
    std::map<int, bool> enabled;
    for (int id : kStepControls) enabled[id] = FindControl(page, id)->isEnabled();
    return enabled;
}

// The enabled controls of a step; all others disabled.
std::map<int, bool> Only(std::initializer_list<int> ids)
{
    std::map<int, bool> enabled;
    for (int id : kStepControls) enabled[id] = false;
    for (int id : ids) enabled[id] = true;
    return enabled;
}

const std::map<int, bool> kIdle = Only({1266, 1265, 1250, 1246, 1255, 1248});

void Click(QWidget* page, int id)
{
    auto* button = FindControlAs<QPushButton>(page, id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

QLineEdit* Edit(QWidget* page, int id) { return FindControlAs<QLineEdit>(page, id); }

void Type(QWidget* page, int id, const QString& text)
{
    QLineEdit* edit = Edit(page, id);
    edit->clear();
    QTest::keyClicks(edit, text);
}

class CalibrationPage : public testing::Test {
protected:
    CalibrationPage()
    {
        page.SetDocument(&doc);
        QObject::connect(&doc, &CVeskDoc::updateViews, [this](int hint) { hints.push_back(hint); });
    }

    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    CVeskDoc doc{user, ports, sleeper};
    CCalPropPage page;
    std::vector<int> hints;
};

class RussianCalibrationPage : public CalibrationPage {
protected:
    RussianCalibrationPage() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~RussianCalibrationPage() override { QLocale::setDefault(QLocale::c()); }
};

}  // namespace

TEST_F(CalibrationPage, ControlsCarryTheirNumbersAndTexts)
{
    const std::pair<int, const char*> texts[] = {
        {1245, "Калибровка сенсора"},
        {1266, "Начать калибровку"},
        {1264, "Единицы калибровки"},
        {130, "НП"},
        {1256, "Калибровать НП"},
        {134, "ВП"},
        {1263, "Калибровать ВП"},
        {1265, "Сброс калибровки"},
        {115, "Калибровка петли"},
        {1250, "Начать калибровку"},
        {133, "Калибровка точки 4mA"},
        {1252, "мА"},
        {1247, "Установить"},
        {131, "Калибровка точки 20mA"},
        {1260, "мА"},
        {1258, "Установить"},
        {116, "Проверка ЦАП"},
        {132, "Фиксированный ток"},
        {1249, "мА"},
        {1255, "Установить"},
        {1248, "Сброс"},
    };
    for (const auto& [id, text] : texts) {
        QWidget* control = FindControl(&page, id);
        ASSERT_NE(control, nullptr) << id;
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
        if (auto* button = qobject_cast<QPushButton*>(control)) shown = button->text();
        if (auto* group = qobject_cast<QGroupBox*>(control)) shown = group->title();
        EXPECT_EQ(shown, QString::fromUtf8(text)) << id;
    }
    const std::pair<int, int> maxLengths[] = {
        {1253, 8}, {1261, 8}, {1251, 5}, {1259, 5}, {1246, 5}};
    for (const auto& [id, length] : maxLengths)
        EXPECT_EQ(Edit(&page, id)->maxLength(), length) << id;
    EXPECT_FALSE(page.RefreshFromDocument());
}

TEST_F(CalibrationPage, FormShowsEveryTextInFull)
{
    page.show();
    page.SetSensorStep(Step::FirstPoint);  // the unit labels with their widest texts
    FindControlAs<QLabel>(&page, 1254)->setText(QString::fromUtf8("мВ"));
    EXPECT_EQ(ClippedTexts(&page, QStringLiteral("-8888.88")).join(u'\n').toStdString(), "");
    EXPECT_EQ(OverlappingControls(&page).join(u'\n').toStdString(), "");
    EXPECT_TRUE(FitsTheTabControl(&page));
}

TEST_F(CalibrationPage, TooltipsComeFromTheStringTable)
{
    const std::pair<int, int> tips[] = {{1257, 1312}, {1266, 1329}, {1253, 1313}, {1261, 1314},
                                        {1256, 1315}, {1263, 1316}, {1265, 1317}, {1250, 1318},
                                        {1251, 1319}, {1259, 1320}, {1247, 1321}, {1258, 1322},
                                        {1246, 1323}, {1255, 1324}, {1248, 1325}};
    for (const auto& [id, stringId] : tips) {
        EXPECT_FALSE(LoadedText(stringId).isEmpty());
        EXPECT_EQ(FindControl(&page, id)->toolTip(), LoadedText(stringId)) << id;
    }
}

TEST_F(CalibrationPage, UnitsListOffersTheSixUnitsAndSetsTheTrimUnits)
{
    auto* units = FindControlAs<QComboBox>(&page, 1257);
    QStringList entries;
    for (int i = 0; i < units->count(); ++i) entries << units->itemText(i);
    EXPECT_EQ(entries, QString::fromUtf8("°C °F °R °K мВ Ом").split(' '));
    EXPECT_EQ(units->currentIndex(), 0);
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1254)->text(), QString::fromUtf8("°C"));

    page.SetSensorStep(Step::FirstPoint);
    QTest::keyClick(units, Qt::Key_Down);
    QTest::keyClick(units, Qt::Key_Down);
    QTest::keyClick(units, Qt::Key_Down);
    EXPECT_EQ(doc.trimUnits(), 35);
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1254)->text(), QString::fromUtf8("°K"));
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1262)->text(), QString::fromUtf8("°K"));
}

TEST_F(CalibrationPage, StepTablesDecideTheEnabling)
{
    EXPECT_EQ(Enabled(&page), kIdle);
    struct Row {
        bool sensor;
        Step step;
        std::map<int, bool> enabled;
    };
    const Row rows[] = {
        {true, Step::FirstPoint, Only({1253, 1256, 1257})},
        {true, Step::SecondPoint, Only({1261, 1263, 1257})},
        {true, Step::Idle, kIdle},
        {false, Step::FirstPoint, Only({1251, 1247})},
        {false, Step::SecondPoint, Only({1259, 1258})},
        {false, Step::Idle, kIdle},
    };
    for (const Row& row : rows) {
        hints.clear();
        if (row.sensor)
            page.SetSensorStep(row.step);
        else
            page.SetLoopStep(row.step);
        EXPECT_EQ(Enabled(&page), row.enabled)
            << (row.sensor ? "sensor " : "loop ") << static_cast<int>(row.step);
        // A running procedure locks the main window; step 0 releases it.
        EXPECT_EQ(hints, (std::vector<int>{row.step == Step::Idle ? HINT_ENABLE_MAIN
                                                                  : HINT_DISABLE_MAIN}));
    }
}

TEST_F(CalibrationPage, StepZeroForgetsTheProcedureValues)
{
    page.SetSensorStep(Step::FirstPoint);
    Type(&page, 1253, "12.5");
    EXPECT_EQ(doc.trimLowerPoint(), 12.5f);
    doc.setTrimUpperPoint(30.0f);
    page.SetSensorStep(Step::Idle);
    EXPECT_TRUE(std::isnan(doc.trimLowerPoint()));
    EXPECT_TRUE(std::isnan(doc.trimUpperPoint()));
    EXPECT_TRUE(Edit(&page, 1253)->text().isEmpty());

    Type(&page, 1246, "12");
    page.SetLoopStep(Step::FirstPoint);
    Type(&page, 1251, "4.1");
    doc.setMeasured20mA(20.0f);
    page.SetLoopStep(Step::Idle);
    for (float value : {doc.fixedCurrent(), doc.measured4mA(), doc.measured20mA()})
        EXPECT_TRUE(std::isnan(value));
    EXPECT_TRUE(Edit(&page, 1246)->text().isEmpty());
}

TEST_F(CalibrationPage, DeviceControlsFollowThePagesEnabling)
{
    page.EnableDeviceControls(false);
    EXPECT_EQ(Enabled(&page), Only({}));
    page.EnableDeviceControls(true);
    EXPECT_EQ(Enabled(&page), kIdle);
    // Whatever the steps: the six controls only.
    page.SetLoopStep(Step::FirstPoint);
    page.EnableDeviceControls(true);
    EXPECT_EQ(Enabled(&page), Only({1266, 1265, 1250, 1246, 1255, 1248, 1251, 1247}));
}

TEST_F(RussianCalibrationPage, NumberFieldsFilterWhatIsTyped)
{
    page.SetSensorStep(Step::FirstPoint);
    QTest::keyClicks(Edit(&page, 1253), "-1a2,5,0");
    EXPECT_EQ(Edit(&page, 1253)->text(), QString::fromUtf8("-12,50"));
    EXPECT_EQ(doc.trimLowerPoint(), -12.5f);
    // Emptying the field forgets the value.
    Edit(&page, 1253)->clear();
    EXPECT_TRUE(std::isnan(doc.trimLowerPoint()));

    page.SetSensorStep(Step::Idle);
    page.SetLoopStep(Step::FirstPoint);
    QTest::keyClicks(Edit(&page, 1251), "-4,1x");
    EXPECT_EQ(Edit(&page, 1251)->text(), QString::fromUtf8("4,1"));
    EXPECT_EQ(doc.measured4mA(), 4.1f);
    page.SetLoopStep(Step::Idle);
    QTest::keyClicks(Edit(&page, 1246), "12,5");
    EXPECT_EQ(doc.fixedCurrent(), 12.5f);
}

TEST_F(CalibrationPage, LeavingAMeterReadingChecksIt)
{
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.SetLoopStep(Step::FirstPoint);
    QLineEdit* reading = Edit(&page, 1251);
    QWidget* elsewhere = FindControl(&page, 1247);
    elsewhere->setFocusPolicy(Qt::StrongFocus);

    reading->setFocus();
    QTest::keyClicks(reading, "4.25");
    elsewhere->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return user.ids() == std::vector<int>{1279}; }))
        << user.messages.size();
    EXPECT_TRUE(reading->hasFocus());
    EXPECT_EQ(doc.measured4mA(), 4.25f);  // a warning only
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::None);

    reading->clear();
    elsewhere->setFocus();
    ASSERT_TRUE(WaitUntil([&] {
        return user.ids() == std::vector<int>{1279, 1278};
    })) << user.messages.size();
    EXPECT_FALSE(reading->hasFocus());

    // A field that the procedure locks is not checked.
    reading->setFocus();
    QTest::keyClicks(reading, "9");
    page.SetLoopStep(Step::SecondPoint);
    QLineEdit* twenty = Edit(&page, 1259);
    twenty->setFocus();
    QTest::keyClicks(twenty, "20.6");
    FindControl(&page, 1258)->setFocusPolicy(Qt::StrongFocus);
    FindControl(&page, 1258)->setFocus();
    ASSERT_TRUE(WaitUntil([&] {
        return user.ids() == std::vector<int>{1279, 1278, 1282};
    })) << user.messages.size();
}

TEST_F(CalibrationPage, ImplausibleReadingStopsTheClickThatLeftIt)
{
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    const struct {
        Step step;
        int field;
        int setButton;
        const char* typed;
        int message;
    } cases[] = {{Step::FirstPoint, 1251, 1247, "4.3", 1279},
                 {Step::SecondPoint, 1259, 1258, "20.6", 1282}};
    for (const auto& c : cases) {
        user.messages.clear();
        page.SetLoopStep(c.step);
        QLineEdit* reading = Edit(&page, c.field);
        reading->setFocus();
        QTest::keyClicks(reading, c.typed);
        Click(&page, c.setButton);
        // The warning came before the button could act, and no trim was tried: not even
        // the transmitter's search, which would have asked or reported something.
        EXPECT_EQ(user.ids(), std::vector<int>{c.message}) << c.typed;
        EXPECT_TRUE(user.questions.empty()) << c.typed;
        EXPECT_TRUE(reading->hasFocus()) << c.typed;
        EXPECT_EQ(page.loopStep(), c.step) << c.typed;
    }
}

// ---- procedures against the simulated transmitter ------------------------------------------

namespace {

class CalibrationPageDevice : public SimulatedDocumentTest {
protected:
    CalibrationPageDevice()
    {
        page.SetDocument(&doc);
        page.SetWaitClock(&waitClock);
        page.show();
    }

    std::vector<int> QuestionIds() const
    {
        std::vector<int> ids;
        for (const auto& q : user.questions) ids.push_back(q.id);
        return ids;
    }
    // The stabilisation dialog is answered once it shows a reading.
    static ModalAnswerer::Action AfterReading(bool accept)
    {
        return [accept](QDialog& dialog) {
            if (FindControlAs<QLabel>(&dialog, 159)->text().isEmpty()) return false;
            accept ? dialog.accept() : dialog.reject();
            return true;
        };
    }
    static ModalAnswerer::Action ChooseBothPoints()
    {
        return [](QDialog& dialog) {
            QTest::mouseClick(FindControlAs<QCheckBox>(&dialog, 1273), Qt::LeftButton);
            dialog.accept();
            return true;
        };
    }
    void ExpectAllDialogsAnswered()
    {
        EXPECT_TRUE(dialogs.AllAnswered());
        EXPECT_TRUE(dialogs.unexpected().isEmpty()) << dialogs.unexpected().join(' ').toStdString();
    }

    FakeSleeper waitClock;
    CCalPropPage page;
    ModalAnswerer dialogs;
};

}  // namespace

TEST_F(CalibrationPageDevice, LoopCalibrationAnsweredYesAtBothPoints)
{
    user.answers = {IDOK, IDYES, IDYES};
    Click(&page, 1250);
    EXPECT_EQ(page.loopStep(), Step::FirstPoint);
    EXPECT_EQ(Enabled(&page), Only({1251, 1247}));
    Type(&page, 1251, "4.02");
    Click(&page, 1247);
    EXPECT_EQ(page.loopStep(), Step::SecondPoint);
    EXPECT_TRUE(Edit(&page, 1251)->text().isEmpty());
    Type(&page, 1259, "19.97");
    Click(&page, 1258);
    EXPECT_EQ(page.loopStep(), Step::Idle);
    EXPECT_EQ(Enabled(&page), kIdle);

    EXPECT_EQ(QuestionIds(), (std::vector<int>{1272, 1249, 1251}));
    EXPECT_EQ(user.ids(), (std::vector<int>{1273, 1274, 1275}));
    EXPECT_EQ(Commands(),
              (Bytes{249, 15, 189, 40, 249, 15, 45, 249, 15, 189, 40, 249, 15, 46, 249, 15, 40}));
    EXPECT_EQ(DataOf(40),
              (std::vector<Bytes>{FloatBytes(4.0f), FloatBytes(20.0f), FloatBytes(0.0f)}));
    EXPECT_EQ(DataOf(45), (std::vector<Bytes>{FloatBytes(4.02f)}));
    EXPECT_EQ(DataOf(46), (std::vector<Bytes>{FloatBytes(19.97f)}));
    EXPECT_EQ(hints.front(), HINT_DISABLE_MAIN);
    EXPECT_EQ(hints.back(), HINT_ENABLE_MAIN);
}

TEST_F(CalibrationPageDevice, LoopPointAnsweredNoStaysForAnotherReading)
{
    user.answers = {IDOK, IDNO, IDCANCEL};
    Click(&page, 1250);
    Type(&page, 1251, "4.1");
    Click(&page, 1247);
    EXPECT_EQ(page.loopStep(), Step::FirstPoint);
    EXPECT_EQ(user.ids(), (std::vector<int>{1273, 1273}));
    Type(&page, 1251, "4.0");
    Click(&page, 1247);
    // "Отмена": the loop is released and the procedure ends.
    EXPECT_EQ(page.loopStep(), Step::Idle);
    EXPECT_EQ(user.ids(), (std::vector<int>{1273, 1273, 1311}));
    EXPECT_EQ(Commands().back(), 40);
    EXPECT_EQ(DataOf(40).back(), FloatBytes(0.0f));
}

TEST_F(CalibrationPageDevice, EmptyFourMaFieldEndsTheLoop)
{
    user.answers = {IDOK};
    Click(&page, 1250);
    // The start leaves the focus in the empty 4 mA field; the warning on leaving it is not
    // this test's: the window is left inactive, so the click below does not move the focus.
    QApplication::setActiveWindow(nullptr);
    ClearRecords();
    Click(&page, 1247);
    EXPECT_EQ(user.ids(), (std::vector<int>{1250, 1311}));
    EXPECT_EQ(Commands(), (Bytes{249, 15, 249, 15, 40}));
    EXPECT_EQ(DataOf(40), (std::vector<Bytes>{FloatBytes(0.0f)}));
    EXPECT_EQ(page.loopStep(), Step::Idle);
    EXPECT_EQ(hints.back(), HINT_ENABLE_MAIN);
}

TEST_F(CalibrationPageDevice, StartWithoutAlarmLevelsStaysIdle)
{
    Device([](sim::Device& d) { d.faults().responseOverrides[189] = 64; });
    user.answers = {IDOK};
    Click(&page, 1250);
    EXPECT_EQ(page.loopStep(), Step::Idle);
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1246}));
    const Bytes sent = Commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 40), 0);
}

TEST_F(CalibrationPageDevice, ForcedCurrentKeepsTheLoopCalibrationOff)
{
    Click(&page, 1255);
    EXPECT_EQ(user.ids(), (std::vector<int>{1326}));
    EXPECT_TRUE(user.questions.empty());

    user.answers = {IDOK};
    Type(&page, 1246, "12");
    Click(&page, 1255);
    EXPECT_EQ(QuestionIds(), (std::vector<int>{905}));
    EXPECT_EQ(user.ids().back(), 1287);
    EXPECT_FALSE(FindControl(&page, 1250)->isEnabled());
    page.EnableDeviceControls(false);
    page.EnableDeviceControls(true);
    EXPECT_FALSE(FindControl(&page, 1250)->isEnabled());

    Click(&page, 1248);
    EXPECT_EQ(user.ids().back(), 1247);
    EXPECT_TRUE(Edit(&page, 1246)->text().isEmpty());
    EXPECT_TRUE(FindControl(&page, 1250)->isEnabled());
    EXPECT_FALSE(Device([](sim::Device& d) { return d.state().output.fixedMode; }));
}

TEST_F(CalibrationPageDevice, LowerPointOnlyReturnsToIdleAfterTheLowerTrim)
{
    dialogs.Expect("CCalSettingsDialog", ModalAnswerer::Accept());
    dialogs.Expect("CCalMeasDialog", AfterReading(true));
    Click(&page, 1266);
    EXPECT_EQ(page.sensorStep(), Step::FirstPoint);
    EXPECT_EQ(Enabled(&page), Only({1253, 1256, 1257}));
    EXPECT_EQ(doc.calibrationType(), 0);

    Type(&page, 1253, "25.5");
    Click(&page, 1256);
    EXPECT_EQ(page.sensorStep(), Step::Idle);
    EXPECT_EQ(user.ids(), (std::vector<int>{1332, 1306}));
    EXPECT_TRUE(user.questions.empty());
    EXPECT_EQ(waitClock.total, std::chrono::seconds(36));
    EXPECT_EQ(hints.back(), HINT_ENABLE_MAIN);
    EXPECT_EQ(DataOf(131), (std::vector<Bytes>{{32, 0x41, 0xCC, 0x00, 0x00}}));
    ExpectAllDialogsAnswered();
}

TEST_F(CalibrationPageDevice, BothPointsGoThroughStepTwo)
{
    dialogs.Expect("CCalSettingsDialog", ChooseBothPoints());
    dialogs.Expect("CCalMeasDialog", AfterReading(true));
    dialogs.Expect("CCalMeasDialog", AfterReading(true));
    Click(&page, 1266);
    Type(&page, 1253, "25.5");
    Click(&page, 1256);
    EXPECT_EQ(page.sensorStep(), Step::SecondPoint);
    EXPECT_EQ(doc.calibrationType(), 1);
    EXPECT_TRUE(Edit(&page, 1253)->text().isEmpty());
    Type(&page, 1261, "25.2");
    Click(&page, 1263);
    EXPECT_EQ(page.sensorStep(), Step::Idle);
    EXPECT_EQ(user.ids(), (std::vector<int>{1332, 1306, 1333, 1307}));
    EXPECT_EQ(DataOf(130).size(), 1u);
    ExpectAllDialogsAnswered();
}

TEST_F(CalibrationPageDevice, FailedTrimAsksWhetherToRetry)
{
    dialogs.Expect("CCalSettingsDialog", ModalAnswerer::Accept());
    dialogs.Expect("CCalMeasDialog", AfterReading(true));
    Click(&page, 1266);

    user.answers = {IDYES, IDNO};
    Type(&page, 1253, "60");  // far from the reading: the transmitter flags a calibration error
    Click(&page, 1256);
    EXPECT_EQ(page.sensorStep(), Step::FirstPoint);
    EXPECT_EQ(Edit(&page, 1253)->text(), QString("60"));
    Click(&page, 1256);
    EXPECT_EQ(page.sensorStep(), Step::Idle);
    EXPECT_TRUE(Edit(&page, 1253)->text().isEmpty());
    EXPECT_EQ(QuestionIds(), (std::vector<int>{1331, 1331}));
    EXPECT_EQ(user.ids(), (std::vector<int>{1332, 1305, 1305}));
    ExpectAllDialogsAnswered();
}

TEST_F(CalibrationPageDevice, EmptyPointAsksForAValue)
{
    dialogs.Expect("CCalSettingsDialog", ModalAnswerer::Accept());
    dialogs.Expect("CCalMeasDialog", AfterReading(true));
    Click(&page, 1266);
    ClearRecords();
    Click(&page, 1256);
    EXPECT_EQ(user.ids(), (std::vector<int>{1327}));
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::None);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(page.sensorStep(), Step::FirstPoint);
}

TEST_F(CalibrationPageDevice, CancelledDialogsEndOrKeepTheIdleStep)
{
    // Limits in °F: the list and the unit labels follow them, also when the type is cancelled.
    Device([](sim::Device& d) { d.state().config.rangeUnits = 33; });
    dialogs.Expect("CCalSettingsDialog", [](QDialog& dialog) {
        EXPECT_EQ(FindControlAs<QLabel>(&dialog, 161)->text(), QString("1562.00"));
        EXPECT_EQ(FindControlAs<QLabel>(&dialog, 165)->text(), QString::fromUtf8("°F"));
        dialog.reject();
        return true;
    });
    Click(&page, 1266);
    EXPECT_EQ(page.sensorStep(), Step::Idle);
    EXPECT_EQ(FindControlAs<QComboBox>(&page, 1257)->currentIndex(), 1);
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1262)->text(), QString::fromUtf8("°F"));
    EXPECT_EQ(doc.trimUnits(), 33);
    EXPECT_TRUE(hints.empty() || hints.back() != HINT_DISABLE_MAIN);

    dialogs.Expect("CCalSettingsDialog", ModalAnswerer::Accept());
    dialogs.Expect("CCalMeasDialog", AfterReading(false));
    Click(&page, 1266);
    EXPECT_EQ(page.sensorStep(), Step::Idle);
    EXPECT_EQ(hints.back(), HINT_ENABLE_MAIN);
    ExpectAllDialogsAnswered();
}

TEST_F(CalibrationPageDevice, ResetKeepsTheStepAndWaitsAfterARestart)
{
    Device([](sim::Device& d) { d.state().calibration.calibrationError = true; });
    Click(&page, 1265);
    EXPECT_EQ(user.ids(), (std::vector<int>{1293}));
    EXPECT_EQ(waitClock.total, std::chrono::seconds(7));
    EXPECT_EQ(page.sensorStep(), Step::Idle);
}

// The sensor calibration's start stores the transmitter's limits, in its own unit. The
// Basic page still checks its points against the limits it shows, in the unit it shows.
TEST_F(CalibrationPageDevice, BasicPageChecksItsPointsAgainstTheLimitsItShows)
{
    const struct {
        std::uint8_t transmitterUnit;
        int pageUnitsIndex;
        const char* upper;
        int message;
    } cases[] = {
        {32, 2, "1000", 0},    // below 1562 °F, though above 850 (°C)
        {33, 1, "900", 1271},  // above 850 °C, though below 1562 (°F)
    };
    for (const auto& c : cases) {
        CBasicPropPage basic;
        basic.SetDocument(&doc);
        basic.RefreshFromDocument();
        for (const auto& [id, index] :
             {std::pair{125, 1}, std::pair{127, 3}, std::pair{129, c.pageUnitsIndex}}) {
            auto* list = FindControlAs<QComboBox>(&basic, id);
            list->setCurrentIndex(index);
            emit list->activated(index);
        }
        Type(&basic, 131, "0");
        Type(&basic, 134, c.upper);
        Device([&](sim::Device& d) { d.state().config.rangeUnits = c.transmitterUnit; });
        dialogs.Expect("CCalSettingsDialog", ModalAnswerer::Reject());
        Click(&page, 1266);
        ASSERT_EQ(doc.sensorLimitUnits(), c.transmitterUnit) << c.upper;

        user.messages.clear();
        user.questions.clear();
        Click(&basic, 1244);
        if (c.message == 0) {
            EXPECT_TRUE(user.messages.empty()) << c.upper;
            EXPECT_EQ(QuestionIds(), std::vector<int>{905}) << c.upper;  // the send's own question
        } else {
            EXPECT_EQ(user.ids(), std::vector<int>{c.message}) << c.upper;
            EXPECT_TRUE(user.questions.empty()) << c.upper;
        }
    }
    ExpectAllDialogsAnswered();
}
