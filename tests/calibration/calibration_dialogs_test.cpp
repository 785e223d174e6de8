// The three dialogs of the sensor trim: the calibration type choice, the stabilisation
// reading with its own transmitter object, and the timed wait.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "calibration/cal_meas_dialog.h"
#include "calibration/cal_settings_dialog.h"
#include "calibration/progress_dialog.h"
#include "calibration/simulated_document.h"
#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "document/question_box.h"
#include "pages/form_layout_check.h"
#include "support/fake_sleeper.h"
#include "support/gui_wait.h"
#include "support/pty_port.h"

using namespace document;
using Wait = CVeskDoc::CalibrationWait;

namespace {

QString Text(QWidget* dialog, int id) { return FindControlAs<QLabel>(dialog, id)->text(); }

}  // namespace

// ---- calibration type ---------------------------------------------------------------------

TEST(CalibrationTypeDialog, ShowsTheLimitsInTheirUnits)
{
    struct Row {
        std::int32_t units;
        float upper, lower;
        const char *unitText, *upperText, *lowerText;
    };
    const Row rows[] = {
        {32, 850.0f, -200.0f, "°C", "850.00", "-200.00"},
        {37, 390.4811f, 18.52f, "Ом", "390.48", "18.52"},
        {38, 100.0f, transmitter::kNotSetFloat, "", "100.00", ""},
        {39, transmitter::kNotSetFloat, 0.0f, "", "", "0.00"},
    };
    for (const Row& row : rows) {
        CCalSettingsDialog dialog;
        dialog.SetTransmitterSettings(row.units, row.upper, row.lower);
        dialog.show();
        for (int id : {159, 162, 165})
            EXPECT_EQ(Text(&dialog, id), QString::fromUtf8(row.unitText)) << row.units;
        EXPECT_EQ(Text(&dialog, 161), QString::fromUtf8(row.upperText));
        EXPECT_EQ(Text(&dialog, 164), QString::fromUtf8(row.lowerText));
    }
}

TEST(CalibrationTypeDialog, TheTwoBoxesAreExclusiveChoices)
{
    CCalSettingsDialog dialog;
    auto* lowerOnly = FindControlAs<QCheckBox>(&dialog, 1272);
    auto* bothPoints = FindControlAs<QCheckBox>(&dialog, 1273);
    dialog.SetCalibrationType(1);
    dialog.show();
    EXPECT_FALSE(lowerOnly->isChecked());
    EXPECT_TRUE(bothPoints->isChecked());

    QTest::mouseClick(lowerOnly, Qt::LeftButton);
    EXPECT_TRUE(lowerOnly->isChecked());
    EXPECT_FALSE(bothPoints->isChecked());
    EXPECT_EQ(dialog.calibrationType(), 0);
    // Clicking the checked box unchecks it and the other takes over.
    QTest::mouseClick(lowerOnly, Qt::LeftButton);
    EXPECT_FALSE(lowerOnly->isChecked());
    EXPECT_TRUE(bothPoints->isChecked());
    EXPECT_EQ(dialog.calibrationType(), 1);
    QTest::mouseClick(bothPoints, Qt::LeftButton);
    EXPECT_TRUE(lowerOnly->isChecked());
    EXPECT_EQ(dialog.calibrationType(), 0);

    QTest::mouseClick(FindControlAs<QPushButton>(&dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(FindControlAs<QPushButton>(&dialog, 1)->text(), QString::fromUtf8("Продолжить"));
    EXPECT_EQ(FindControlAs<QPushButton>(&dialog, 2)->text(), QString::fromUtf8("Отмена"));
}

TEST(CalibrationDialogs, ShowEveryTextInFull)
{
    CCalSettingsDialog settings;
    settings.SetTransmitterSettings(37, 2000.0f, -328.0f);
    settings.show();
    EXPECT_EQ(ClippedTexts(&settings, {}).join(u'\n').toStdString(), "");
    EXPECT_EQ(OverlappingControls(&settings).join(u'\n').toStdString(), "");
    for (QCheckBox* box : settings.findChildren<QCheckBox*>())
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();

    CProgressDialog wait(CVeskDoc::CalibrationWait::Calibration);
    EXPECT_EQ(ClippedTexts(&wait, {}).join(u'\n').toStdString(), "");

    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    CVeskDoc doc{user, ports, sleeper};
    CCalMeasDialog stabilisation(doc);
    EXPECT_EQ(OverlappingControls(&stabilisation).join(u'\n').toStdString(), "");
    for (QLabel* label : stabilisation.findChildren<QLabel*>()) {
        const int needed =
            label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        EXPECT_LE(needed, label->height()) << label->text().toStdString();
        if (!label->wordWrap()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
    }
    for (QPushButton* button : stabilisation.findChildren<QPushButton*>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
}

// ---- wait ---------------------------------------------------------------------------------

TEST(WaitDialog, CalibrationTicks36TimesResetSeven)
{
    struct Row {
        Wait mode;
        int ticks;
        int textId;
    };
    for (const Row& row : {Row{Wait::Calibration, 36, 1309}, Row{Wait::Reset, 7, 1310}}) {
        CProgressDialog dialog(row.mode);
        auto* bar = FindControlAs<QProgressBar>(&dialog, 1267);
        EXPECT_EQ(bar->maximum(), row.ticks - 1);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(Text(&dialog, 1266), LoadedText(row.textId));
        for (int tick = 1; tick < row.ticks; ++tick) dialog.OnTimer();
        EXPECT_EQ(bar->value(), row.ticks - 1);
        EXPECT_EQ(dialog.result(), 0);
        dialog.OnTimer();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST(WaitDialog, RunsOnAnInjectedClock)
{
    for (const auto& [mode, seconds] :
         {std::pair{Wait::Calibration, 36}, std::pair{Wait::Reset, 7}}) {
        FakeSleeper clock;
        CProgressDialog dialog(mode, &clock);
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(clock.total, std::chrono::seconds(seconds));
    }
}

TEST(WaitDialog, EscapeShortensTheWait)
{
    CProgressDialog dialog(Wait::Calibration);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

// ---- stabilisation ------------------------------------------------------------------------

namespace {

class StabilisationDialog : public SimulatedDocumentTest {};

}  // namespace

TEST_F(StabilisationDialog, ReadsOnOpeningAndOnRequestThroughItsOwnTransmitter)
{
    CCalMeasDialog dialog(doc);
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !Text(&dialog, 159).isEmpty(); }));
    EXPECT_EQ(Text(&dialog, 159), QString("25.00"));
    EXPECT_EQ(Text(&dialog, 160), QString::fromUtf8("°C"));
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{249, 33}));
    EXPECT_EQ(DataOf(33), (std::vector<std::vector<std::uint8_t>>{{1, 2, 250, 250}}));
    // The document's own transmitter has not been used.
    EXPECT_FALSE(doc.transmitter().isPortOpen());
    EXPECT_EQ(doc.transmitter().address()[2], 0);

    Device([](sim::Device& d) { d.process().value = 30.0f; });
    QTest::mouseClick(FindControlAs<QPushButton>(&dialog, 1342), Qt::LeftButton);
    EXPECT_EQ(Text(&dialog, 159), QString("30.00"));
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{249, 33, 249, 33}));
    EXPECT_TRUE(user.questions.empty());

    QTest::mouseClick(FindControlAs<QPushButton>(&dialog, 2), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(FindControlAs<QPushButton>(&dialog, 2)->text(),
              QString::fromUtf8("Отмена калибровки"));
}

// Its own transmitter's frames go to the session's trace as the document's do.
TEST_F(StabilisationDialog, ItsFramesGoToTheDocumentsTrace)
{
    struct Commands final : hart::TraceSink {
        void record(const hart::TraceEvent& event) override
        {
            if (event.kind == hart::TraceKind::Request)
                requested.push_back(event.frame.at(2 + 4 * (event.frame[0] >> 7)));
        }
        std::vector<int> requested;
    } trace;
    doc.transmitter().attachTrace(&trace);
    {
        CCalMeasDialog dialog(doc);
        dialog.show();
        ASSERT_TRUE(WaitUntil([&] { return !Text(&dialog, 159).isEmpty(); }));
    }
    doc.transmitter().attachTrace(nullptr);
    EXPECT_EQ(trace.requested, (std::vector<int>{249, 33}));
}

TEST_F(StabilisationDialog, ValueTheTransmitterCannotGiveShowsEmpty)
{
    Device([](sim::Device& d) { d.faults().responseOverrides[33] = 64; });
    CCalMeasDialog dialog(doc);
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !user.messages.empty(); }));
    EXPECT_EQ(user.ids(), (std::vector<int>{1023}));
    EXPECT_TRUE(Text(&dialog, 159).isEmpty());
    EXPECT_TRUE(Text(&dialog, 160).isEmpty());
    EXPECT_EQ(dialog.units(), 38);
}

TEST(StabilisationDialogAlone, AsksAtOnceWhenNothingAnswers)
{
    TempPortMapDir portMap;
    PtyPort silentPort;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{silentPort.comNumber()};
    CVeskDoc doc{user, ports, sleeper};

    user.answers = {IDRETRY, IDCANCEL};
    CCalMeasDialog dialog(doc);
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return user.questions.size() == 2; }));
    EXPECT_EQ(user.questions[0].id, 906);
    EXPECT_EQ(user.questions[1].id, 906);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(Text(&dialog, 159).isEmpty());
    EXPECT_TRUE(Text(&dialog, 160).isEmpty());
    EXPECT_TRUE(dialog.isVisible());
}
