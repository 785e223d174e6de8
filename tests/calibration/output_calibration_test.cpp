// The document's output trim and fixed current against the simulated transmitter: the
// commands in their order, the checks against the alarm levels, the retry question and the
// release of the loop.
#include <cmath>

#include "calibration/simulated_document.h"
#include "document/question_box.h"

using namespace document;
using Bytes = std::vector<std::uint8_t>;
using Outcome = CVeskDoc::LoopTrimOutcome;

namespace {

class OutputTrim : public SimulatedDocumentTest {
protected:
    sim::LoopOutput DeviceOutput()
    {
        return Device([](sim::Device& d) { return d.state().output; });
    }
    void Override(std::uint8_t command, std::uint8_t code)
    {
        Device([=](sim::Device& d) { d.faults().responseOverrides[command] = code; });
    }
    std::vector<int> QuestionIds() const
    {
        std::vector<int> ids;
        for (const auto& q : user.questions) ids.push_back(q.id);
        return ids;
    }
    // The fixed current for one point of the trim, as the page forces it.
    void ForceForTrim(float milliamps)
    {
        doc.setFixedCurrent(milliamps);
        ASSERT_TRUE(doc.ApplyFixedCurrent(true, false));
    }
};

}  // namespace

TEST_F(OutputTrim, BothPointsInOrder)
{
    ASSERT_TRUE(doc.BeginOutputCalibration());
    doc.setMeasured4mA(4.02f);
    EXPECT_EQ(doc.CalibrateOutput4mA(), Outcome::Trimmed);
    ForceForTrim(20.0f);
    doc.setMeasured20mA(19.97f);
    EXPECT_EQ(doc.CalibrateOutput20mA(), Outcome::Trimmed);
    ASSERT_TRUE(doc.ApplyFixedCurrent(false, false));

    EXPECT_EQ(Commands(),
              (Bytes{249, 15, 189, 40, 249, 15, 45, 249, 15, 189, 40, 249, 15, 46, 249, 15, 40}));
    EXPECT_EQ(DataOf(40),
              (std::vector<Bytes>{FloatBytes(4.0f), FloatBytes(20.0f), FloatBytes(0.0f)}));
    EXPECT_EQ(DataOf(45), (std::vector<Bytes>{FloatBytes(4.02f)}));
    EXPECT_EQ(DataOf(46), (std::vector<Bytes>{FloatBytes(19.97f)}));
    // The loop's own forcing neither asks nor reports.
    EXPECT_TRUE(user.questions.empty());
    EXPECT_TRUE(user.messages.empty());
    const sim::LoopOutput output = DeviceOutput();
    EXPECT_FALSE(output.fixedMode);
    EXPECT_NEAR(output.correction4Ma, 0.02f, 1e-5f);
    EXPECT_NEAR(output.correction20Ma, -0.03f, 1e-5f);
}

TEST_F(OutputTrim, EmptyReadingEndsTheLoopAndReleasesIt)
{
    struct Row {
        bool twentyMa;
        int message;
    };
    for (const Row& row : {Row{false, 1250}, Row{true, 1252}}) {
        ASSERT_TRUE(doc.BeginOutputCalibration());
        if (row.twentyMa) ForceForTrim(20.0f);
        ClearRecords();
        EXPECT_EQ(row.twentyMa ? doc.CalibrateOutput20mA() : doc.CalibrateOutput4mA(),
                  Outcome::Ended);
        EXPECT_EQ(user.ids(), (std::vector<int>{row.message}));
        EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::Error);
        EXPECT_EQ(Commands(), (Bytes{249, 15, 249, 15, 40}));
        EXPECT_EQ(DataOf(40), (std::vector<Bytes>{FloatBytes(0.0f)}));
        EXPECT_FALSE(DeviceOutput().fixedMode);
    }
}

TEST_F(OutputTrim, ReadingTooFarFromThePointIsOfferedAgain)
{
    struct Row {
        float reading;  // the transmitter refuses more than 0.5 mA away: 3 too large, 4 too small
        int answer;
        Outcome outcome;
        Bytes commands;
    };
    const Row rows[] = {
        {4.6f, IDYES, Outcome::Retry, {249, 15, 45}},
        {3.4f, IDNO, Outcome::Ended, {249, 15, 45, 249, 15, 40}},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(doc.BeginOutputCalibration());
        ClearRecords();
        user.answers = {row.answer};
        doc.setMeasured4mA(row.reading);
        EXPECT_EQ(doc.CalibrateOutput4mA(), row.outcome) << row.reading;
        EXPECT_EQ(QuestionIds(), (std::vector<int>{1341}));
        EXPECT_TRUE(user.messages.empty());  // no response message for 3 and 4
        EXPECT_EQ(Commands(), row.commands);
        EXPECT_EQ(DeviceOutput().fixedMode, row.outcome == Outcome::Retry);
    }
}

TEST_F(OutputTrim, OtherTrimFailuresReportAndReleaseTheLoop)
{
    // Not in fixed current mode: the transmitter answers 9.
    doc.setMeasured4mA(4.0f);
    EXPECT_EQ(doc.CalibrateOutput4mA(), Outcome::Ended);
    EXPECT_EQ(user.ids(), (std::vector<int>{1027, 1250}));
    EXPECT_EQ(Commands(), (Bytes{249, 15, 45, 249, 15, 40}));
}

TEST_F(OutputTrim, FixedCurrentIsCheckedAgainstTheAlarmLevels)
{
    struct Row {
        float current;
        bool forced;
        int message;
        const char* text;
    };
    const Row rows[] = {
        {3.5f, true, 1287, "Фиксированный ток (3.50 mA) успешно установлен!"},
        {3.49f, false, 1285,
         "Записываемое значение фиксированного тока ниже нижнего уровня аварии! (3.50 mA)"},
        {21.0f, true, 1287, "Фиксированный ток (21.00 mA) успешно установлен!"},
        {21.01f, false, 1286,
         "Записываемое значение фиксированного тока выше верхнего уровня аварии! (21.00 mA)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.current);
        ClearRecords();
        user.answers = {IDOK};
        doc.setFixedCurrent(row.current);
        EXPECT_EQ(doc.ApplyFixedCurrent(true, true), row.forced);
        EXPECT_EQ(QuestionIds(), (std::vector<int>{905}));
        ASSERT_EQ(user.ids(), (std::vector<int>{row.message}));
        EXPECT_EQ(user.messages.back().text, row.text);
        EXPECT_EQ(user.messages.back().icon,
                  row.forced ? hart::MessageIcon::Information : hart::MessageIcon::Error);
        EXPECT_EQ(Commands(), row.forced ? (Bytes{249, 15, 189, 40}) : (Bytes{249, 15, 189}));
        if (row.forced) {
            EXPECT_EQ(DeviceOutput().fixedCurrentMa, row.current);
        }
    }
}

TEST_F(OutputTrim, CancelledQuestionSendsNothing)
{
    user.answers = {IDCANCEL};
    doc.setFixedCurrent(12.0f);
    EXPECT_FALSE(doc.ApplyFixedCurrent(true, true));
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(OutputTrim, UnreadableAlarmLevelsForceNoCurrentAtAll)
{
    Override(189, 64);
    EXPECT_FALSE(doc.BeginOutputCalibration());
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1246}));
    EXPECT_EQ(Commands(), (Bytes{249, 15, 189}));
    EXPECT_FALSE(DeviceOutput().fixedMode);
}

TEST_F(OutputTrim, ReleaseReportsOnlyWhenInteractive)
{
    ForceForTrim(12.0f);
    ClearRecords();
    EXPECT_TRUE(doc.ApplyFixedCurrent(false, false));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(user.questions.empty());  // leaving asks nothing, even interactively
    EXPECT_TRUE(doc.ApplyFixedCurrent(false, true));
    EXPECT_EQ(user.ids(), (std::vector<int>{1247}));
    EXPECT_TRUE(user.questions.empty());
    EXPECT_EQ(DataOf(40), (std::vector<Bytes>{FloatBytes(0.0f), FloatBytes(0.0f)}));

    ClearRecords();
    Override(40, 64);
    EXPECT_FALSE(doc.ApplyFixedCurrent(false, true));
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1248}));
}

TEST_F(OutputTrim, WarningFromTheTransmitterIsAFailedForcing)
{
    Override(40, 8);
    user.answers = {IDOK};
    doc.setFixedCurrent(12.0f);
    EXPECT_FALSE(doc.ApplyFixedCurrent(true, true));
    EXPECT_EQ(user.ids(), (std::vector<int>{1007, 1288}));
    EXPECT_EQ(user.messages.back().text, "Ошибка установки фиксированного тока (12.00 mA)!");
}

TEST_F(OutputTrim, WriteProtectionStopsEveryOperation)
{
    Device([](sim::Device& d) { d.state().config.writeProtect = 1; });
    struct Row {
        const char* what;
        std::function<bool()> run;
    };
    const Row rows[] = {
        {"begin", [this] { return doc.BeginOutputCalibration(); }},
        {"release", [this] { return doc.ApplyFixedCurrent(false, true); }},
        {"4 mA", [this] { return doc.CalibrateOutput4mA() != Outcome::Ended; }},
        {"20 mA", [this] { return doc.CalibrateOutput20mA() != Outcome::Ended; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ClearRecords();
        EXPECT_FALSE(row.run());
        EXPECT_EQ(user.ids(), (std::vector<int>{1004}));
        EXPECT_EQ(Commands(), (Bytes{249, 15}));
    }
}

TEST_F(OutputTrim, NoCurrentEnteredIsNeverReportedAsForced)
{
    EXPECT_FALSE(doc.ApplyFixedCurrent(true, true));
    EXPECT_EQ(user.ids(), (std::vector<int>{1326}));
    EXPECT_TRUE(user.questions.empty());
    EXPECT_TRUE(Commands().empty());
}
