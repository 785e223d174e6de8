// The Information page: what it shows for the document's values, its controls, keys and
// report lines; and live monitoring against the simulated transmitter over the real driver
// library, with notices from the worker shown on the GUI thread as the desktop program does.
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "controls/transparent_image.h"
#include "document/display_text.h"
#include "document/gui_thread_call.h"
#include "document/vesk_doc.h"
#include "pages/form_layout_check.h"
#include "pages/info_property_page.h"
#include "simulator/simulator_host.h"
#include "support/fake_sleeper.h"
#include "support/gui_wait.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"
#include "support/simulated_transmitter.h"

using namespace document;
using namespace std::chrono_literals;

namespace {

const QString kStartCaption = QString::fromUtf8("Запустить мониторинг");
const QString kStopCaption = QString::fromUtf8("Остановить мониторинг");
constexpr int kNoCommandMessage = 1023;  // "Команда не поддерживается"

// The page's widgets by control id.
class PageControls {
public:
    explicit PageControls(QWidget* page) : m_page(page) {}

    QString text(int id) const
    {
        if (auto* edit = FindControlAs<QLineEdit>(m_page, id)) return edit->text();
        if (auto* label = FindControlAs<QLabel>(m_page, id)) return label->text();
        return QStringLiteral("<no control %1>").arg(id);
    }
    bool shown(int id) const
    {
        QWidget* control = FindControl(m_page, id);
        return control != nullptr && !control->isHidden();
    }
    QPushButton* button() const { return FindControlAs<QPushButton>(m_page, 194); }

private:
    QWidget* m_page;
};

class InfoPageTest : public testing::Test {
protected:
    InfoPageTest()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        doc.OnNewDocument();
        page.SetDocument(&doc);
    }
    ~InfoPageTest() override { QLocale::setDefault(QLocale::c()); }

    transmitter::CTransmitter& values() { return doc.transmitter(); }

    TempPortMapDir portMap;  // empty: no transmitter can be found
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    CVeskDoc doc{user, ports, sleeper};
    CInfoPropertyPage page;
    PageControls controls{&page};
};

}  // namespace

TEST_F(InfoPageTest, ControlsCarryTheirIdsAndTooltips)
{
    struct Expected {
        int id;
        int tooltipId;
    };
    for (const Expected& e : std::vector<Expected>{{159, 1226},
                                                   {160, 1227},
                                                   {162, 1228},
                                                   {165, 1229},
                                                   {166, 1230},
                                                   {168, 1231},
                                                   {169, 1231},
                                                   {171, 1232},
                                                   {172, 1232},
                                                   {174, 1233},
                                                   {176, 1234},
                                                   {178, 1235},
                                                   {180, 1245},
                                                   {194, 1236}}) {
        QWidget* control = FindControl(&page, e.id);
        ASSERT_NE(control, nullptr) << e.id;
        EXPECT_EQ(control->toolTip(), LoadedText(e.tooltipId)) << e.id;
    }
    for (int id : {159, 162, 165, 174, 176, 178, 180}) {
        auto* edit = FindControlAs<CMyColorEdit>(&page, id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
    }
    EXPECT_EQ(FindControlAs<QGroupBox>(&page, 117)->title(),
              QString::fromUtf8("Статус устройства"));
    EXPECT_EQ(FindControlAs<QGroupBox>(&page, 118)->title(),
              QString::fromUtf8("Идентификация устройства"));
    EXPECT_EQ(controls.button()->text(), kStartCaption);

    // Each grey lamp and its red one share one place; the top-left colour is see-through.
    for (auto [grey, red] : {std::pair{168, 169}, std::pair{171, 172}}) {
        auto* greyLamp = FindControlAs<CTransparentImage>(&page, grey);
        auto* redLamp = FindControlAs<CTransparentImage>(&page, red);
        ASSERT_TRUE(greyLamp && redLamp);
        EXPECT_EQ(greyLamp->geometry(), redLamp->geometry());
        const QImage greyImage = greyLamp->pixmap().toImage();
        const QImage redImage = redLamp->pixmap().toImage();
        ASSERT_EQ(redImage.size(), QSize(20, 20));
        EXPECT_EQ(qAlpha(redImage.pixel(0, 0)), 0);
        EXPECT_EQ(QColor(redImage.pixel(10, 12)), QColor(Qt::red));
        EXPECT_EQ(QColor(greyImage.pixel(10, 12)), QColor(192, 192, 192));
    }
}

TEST_F(InfoPageTest, TextsFitTheirControls)
{
    // The widest identification text: three revision bytes.
    const QString widest = QStringLiteral("255.255.255");
    EXPECT_EQ(ClippedTexts(&page, widest).join(", ").toStdString(), "");
    controls.button()->setText(kStopCaption);
    EXPECT_EQ(ClippedTexts(&page, widest).join(", ").toStdString(), "");
    // Only each lamp pair shares its place.
    QStringList overlapping = OverlappingControls(&page);
    for (auto [one, other] :
         {std::pair{168, 169}, std::pair{169, 168}, std::pair{171, 172}, std::pair{172, 171}})
        overlapping.removeAll(
            QStringLiteral("CTransparentImage #%1 \"overlaps #%2\"").arg(one).arg(other));
    EXPECT_EQ(overlapping.join(", ").toStdString(), "");
    EXPECT_TRUE(FitsTheTabControl(&page));
}

TEST_F(InfoPageTest, ClearedDocumentShowsNothing)
{
    EXPECT_FALSE(page.RefreshFromDocument());
    for (int id : {159, 160, 162, 165, 166, 174, 176, 178, 180})
        EXPECT_EQ(controls.text(id), QString()) << id;
    EXPECT_TRUE(controls.shown(168));
    EXPECT_FALSE(controls.shown(169));
    EXPECT_TRUE(controls.shown(171));
    EXPECT_FALSE(controls.shown(172));
}

TEST_F(InfoPageTest, ShowsValuesWithTheirFormats)
{
    values().sensorTemp = 23.456f;
    values().sensorTempUnits = 32;
    values().loopCurrent = 12.0f;
    values().xmtrTemp = 31.5f;
    values().xmtrTempUnits = 33;
    values().universalRev = 5;
    values().deviceRev = 1;
    values().softwareRev = 2;
    values().hardwareRev = 0x0B;  // upper five bits 1, signalling code 3
    values().finalAssemblyNumber = 441001;
    values().xmtrAsmDay = 15;
    values().xmtrAsmMonth = 3;
    values().xmtrAsmYear = 124;
    EXPECT_FALSE(page.RefreshFromDocument());

    EXPECT_EQ(controls.text(159), "23.46");
    EXPECT_EQ(controls.text(160), QString::fromUtf8("°C"));
    EXPECT_EQ(controls.text(162), "12.00");
    EXPECT_EQ(controls.text(165), "31.50");
    EXPECT_EQ(controls.text(166), QString::fromUtf8("°F"));
    EXPECT_EQ(controls.text(174), "5.1.2");
    EXPECT_EQ(controls.text(176), "1");  // the getter's value, not shifted again
    EXPECT_EQ(controls.text(178), "441001");
    EXPECT_EQ(controls.text(180), "15.3.124");

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    page.RefreshFromDocument();
    EXPECT_EQ(controls.text(159), "23,46");
    EXPECT_EQ(controls.text(162), "12,00");

    // Without identification the four identification fields are empty again.
    values().universalRev = 0;
    page.RefreshFromDocument();
    for (int id : {174, 176, 178, 180}) EXPECT_EQ(controls.text(id), QString()) << id;
    EXPECT_EQ(controls.text(159), "23,46");
}

TEST_F(InfoPageTest, UnitLabelsFollowTheUnitCodes)
{
    struct Case {
        std::int32_t code;
        int stringId;  // 0: empty text
    };
    for (const Case& c : std::vector<Case>{{32, 800},
                                           {33, 801},
                                           {34, 802},
                                           {35, 803},
                                           {36, 804},
                                           {37, 805},
                                           {31, 0},
                                           {38, 0},
                                           {250, 0}}) {
        values().sensorTempUnits = c.code;
        values().xmtrTempUnits = c.code;
        page.RefreshFromDocument();
        const QString expected = c.stringId ? LoadedText(c.stringId) : QString();
        EXPECT_EQ(controls.text(160), expected) << c.code;
        EXPECT_EQ(controls.text(166), expected) << c.code;
    }
}

TEST_F(InfoPageTest, LampsTurnRedOnFailures)
{
    struct Case {
        int sensorFailure;
        int xmtrFailure;
    };
    for (const Case& c : std::vector<Case>{{1, 0}, {0, 1}, {1, 1}, {0, 0}}) {
        values().sensorFailure = c.sensorFailure;
        values().xmtrFailure = c.xmtrFailure;
        page.RefreshFromDocument();
        EXPECT_EQ(controls.shown(169), c.sensorFailure == 1) << c.sensorFailure << c.xmtrFailure;
        EXPECT_EQ(controls.shown(168), c.sensorFailure == 0) << c.sensorFailure << c.xmtrFailure;
        EXPECT_EQ(controls.shown(172), c.xmtrFailure == 1) << c.sensorFailure << c.xmtrFailure;
        EXPECT_EQ(controls.shown(171), c.xmtrFailure == 0) << c.sensorFailure << c.xmtrFailure;
    }
}

TEST_F(InfoPageTest, PrintSectionIsWhatThePageShows)
{
    const auto lineTexts = [this] {
        QStringList texts;
        for (const ReportLine& line : page.PrintSection())
            texts << line.label + line.valueColumnText();
        return texts.join('\n').toStdString();
    };
    page.RefreshFromDocument();
    // Empty values: the unit lines keep the space before their (empty) unit.
    EXPECT_EQ(lineTexts(), QString::fromUtf8("Температура сенсора:  \n"
                                             "Аналоговый выход:  \n"
                                             "Температура датчика:  \n"
                                             "Неисправность сенсора: \n"
                                             "Неисправность датчика: \n"
                                             "Версия программы: \n"
                                             "Версия аппаратной части: \n"
                                             "Конечный номер сборки: \n"
                                             "Дата сборки трансмиттера: ")
                               .toStdString());

    values().sensorTemp = 25.0f;
    values().sensorTempUnits = 32;
    values().loopCurrent = 12.5f;
    values().xmtrTemp = 30.0f;
    values().xmtrTempUnits = 38;
    values().sensorFailure = 1;
    values().universalRev = 5;
    values().deviceRev = 1;
    values().softwareRev = 2;
    values().hardwareRev = 8;
    values().finalAssemblyNumber = 7;
    values().xmtrAsmDay = 1;
    values().xmtrAsmMonth = 2;
    values().xmtrAsmYear = 3;
    page.RefreshFromDocument();
    // A value changed after the last refresh is not on the page yet, so not in the report.
    values().sensorTemp = 99.0f;
    EXPECT_EQ(lineTexts(), QString::fromUtf8("Температура сенсора: 25.00 °C\n"
                                             "Аналоговый выход: 12.50 мА\n"
                                             "Температура датчика: 30.00 \n"
                                             "Неисправность сенсора: Да\n"
                                             "Неисправность датчика: Нет\n"
                                             "Версия программы: 5.1.2\n"
                                             "Версия аппаратной части: 1\n"
                                             "Конечный номер сборки: 7\n"
                                             "Дата сборки трансмиттера: 1.2.3")
                               .toStdString());
    // The values are those the controls show.
    const auto lines = page.PrintSection();
    EXPECT_EQ(lines[0].value, controls.text(159));
    EXPECT_EQ(lines[0].unit, controls.text(160));
    EXPECT_EQ(lines[2].unit, controls.text(166));
    EXPECT_EQ(lines[7].value, controls.text(178));
}

TEST_F(InfoPageTest, DeviceControlsEnableTheMonitoringButton)
{
    page.EnableDeviceControls(false);
    EXPECT_FALSE(controls.button()->isEnabled());
    page.EnableDeviceControls(true);
    EXPECT_TRUE(controls.button()->isEnabled());
}

TEST_F(InfoPageTest, CancelledSearchLeavesMonitoringOff)
{
    std::vector<int> hints;
    QObject::connect(&doc, &CVeskDoc::updateViews, [&](int hint) { hints.push_back(hint); });
    QTest::mouseClick(controls.button(), Qt::LeftButton);
    ASSERT_FALSE(user.questions.empty());
    EXPECT_EQ(user.questions.back().id, 906);
    EXPECT_FALSE(page.isMonitoring());
    EXPECT_EQ(doc.m_bMonitoring, 0);
    EXPECT_EQ(controls.button()->text(), kStartCaption);
    EXPECT_EQ(std::count(hints.begin(), hints.end(), HINT_DISABLE_MAIN), 0);
}

TEST_F(InfoPageTest, EnterActsAsSpaceOnTheFocusedButton)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        user.questions.clear();
        controls.button()->setFocus();
        QTest::keyClick(controls.button(), key);
        // The button was pressed: the search ran and asked about the missing transmitter.
        ASSERT_EQ(user.questions.size(), 1u) << key;
        EXPECT_EQ(user.questions.front().id, 906);
    }
    // Enter on a read-only field presses nothing.
    user.questions.clear();
    QTest::keyClick(FindControl(&page, 159), Qt::Key_Return);
    EXPECT_TRUE(user.questions.empty());
}

// ---- monitoring against the simulated transmitter --------------------------------------

namespace {

// The desktop program's way with the user from the monitoring thread: the notice or
// question is handled on the GUI thread while the worker waits. So every record is made on
// the GUI thread and the scripted user needs no lock.
class GuiThreadUser : public hart::UserInteraction {
public:
    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override
    {
        OnGuiThread([&] { script.notify(messageId, text, icon); });
    }
    int ask(int messageId, const std::string& text, int style) override
    {
        int answer = 0;
        OnGuiThread([&] { answer = script.ask(messageId, text, style); });
        return answer;
    }

    ScriptedUser script;
    int callsFromWorker = 0;

private:
    void OnGuiThread(const std::function<void()>& work)
    {
        if (QThread::currentThread() == qApp->thread()) {
            work();
            return;
        }
        RunOnThreadOfAndWait(qApp, [&] {
            ++callsFromWorker;
            work();
        });
    }
};

class InfoMonitoringTest : public testing::Test, protected SimulatedTransmitter<GuiThreadUser> {
protected:
    InfoMonitoringTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~InfoMonitoringTest() override { QLocale::setDefault(QLocale::c()); }

    // The simulated transmitter, and the document and page as the view would wire them.
    void StartTransmitter(sim::HostOptions options = {})
    {
        SimulatedTransmitter::StartTransmitter(SteadyTransmitterSetup(), options);
        page = std::make_unique<CInfoPropertyPage>();
        page->SetDocument(&doc);
        QObject::connect(&doc, &CVeskDoc::updateViews, [this](int hint) {
            hints.push_back({hint, host->commands().size()});
            if (hint == HINT_SHOW_INFO && page) page->RefreshFromDocument();
        });
    }

    static sim::HostOptions WireTimed()
    {
        sim::HostOptions options;
        options.wireTiming = true;
        return options;
    }

    QPushButton* button() const { return PageControls(page.get()).button(); }
    QString text(int id) const { return PageControls(page.get()).text(id); }

    // Presses start; returns the number of requests the identification took.
    std::size_t StartMonitoring()
    {
        QTest::mouseClick(button(), Qt::LeftButton);
        return host->commands().size();
    }
    // The requests after the first `from`.
    std::vector<std::uint8_t> CommandsAfter(std::size_t from) const
    {
        const auto all = host->commands();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
    }
    int Count(int hint) const
    {
        return static_cast<int>(std::count_if(hints.begin(), hints.end(),
                                              [hint](const Hint& h) { return h.hint == hint; }));
    }

    struct Hint {
        int hint;
        std::size_t requestsSoFar;
    };
    const std::vector<std::uint8_t> kCycle{16, 13, 33, 3, 48};

    std::unique_ptr<CInfoPropertyPage> page;
    std::vector<Hint> hints;
};

}  // namespace

TEST_F(InfoMonitoringTest, CyclesComeEveryPeriodAndRefreshThePage)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter());
    const std::size_t identification = StartMonitoring();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(page->isMonitoring());
    EXPECT_EQ(doc.m_bMonitoring, 1);
    EXPECT_EQ(button()->text(), kStopCaption);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back().hint, HINT_DISABLE_MAIN);
    EXPECT_EQ(text(159), QString());

    // Nothing is asked of the transmitter during the first period.
    ASSERT_TRUE(WaitUntil([&] { return host->commands().size() > identification; }, 10s));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 3500ms);

    // One cycle: five reads in order, then the page is refreshed with what they brought.
    ASSERT_TRUE(WaitUntil([&] { return Count(HINT_SHOW_INFO) == 1; }, 10s));
    EXPECT_EQ(CommandsAfter(identification), kCycle);
    for (const sim::LoggedRequest& request : host->requests())
        if (std::count(kCycle.begin(), kCycle.end(), request.command)) {
            EXPECT_TRUE(request.longFrame);
        }
    EXPECT_EQ(text(159), "25.00");
    EXPECT_EQ(text(160), QString::fromUtf8("°C"));
    EXPECT_FALSE(text(162).isEmpty());
    EXPECT_FALSE(text(165).isEmpty());
    EXPECT_EQ(text(174), "5.1.2");
    EXPECT_EQ(text(176), "1");
    EXPECT_EQ(text(178), "441001");
    EXPECT_EQ(text(180), "15.3.124");

    // A second cycle follows a period later, without a new identification.
    ASSERT_TRUE(WaitUntil([&] { return Count(HINT_SHOW_INFO) == 2; }, 10s));
    std::vector<std::uint8_t> twoCycles = kCycle;
    twoCycles.insert(twoCycles.end(), kCycle.begin(), kCycle.end());
    EXPECT_EQ(CommandsAfter(identification), twoCycles);
    EXPECT_TRUE(user.script.messages.empty());

    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_FALSE(page->isMonitoring());
    EXPECT_EQ(doc.m_bMonitoring, 0);
    EXPECT_EQ(button()->text(), kStartCaption);
    EXPECT_EQ(hints.back().hint, HINT_ENABLE_MAIN);
}

TEST_F(InfoMonitoringTest, StopWaitsForTheRunningCycle)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter(WireTimed()));
    const std::size_t identification = StartMonitoring();
    ASSERT_TRUE(WaitUntil([&] { return host->commands().size() > identification; }, 10s));
    const std::size_t atStop = host->commands().size();
    ASSERT_LT(atStop, identification + kCycle.size()) << "the cycle ended before the stop";

    QTest::mouseClick(button(), Qt::LeftButton);
    // The cycle ran to its end before the stop returned, and only then did the main
    // controls (and the device commands with them) come back.
    EXPECT_EQ(CommandsAfter(identification), kCycle);
    EXPECT_EQ(doc.m_bMonitoring, 0);
    ASSERT_EQ(Count(HINT_ENABLE_MAIN), 1);
    const auto enableMain = std::find_if(hints.begin(), hints.end(),
                                         [](const Hint& h) { return h.hint == HINT_ENABLE_MAIN; });
    EXPECT_EQ(enableMain->requestsSoFar, identification + kCycle.size());
    EXPECT_EQ(button()->text(), kStartCaption);
    EXPECT_TRUE(button()->isEnabled());
}

TEST_F(InfoMonitoringTest, FailingCycleReportsFromTheWorkerAndStopStillWorks)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter(WireTimed()));
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[48] = 64; });
    const std::size_t identification = StartMonitoring();
    ASSERT_TRUE(WaitUntil([&] { return host->commands().size() > identification; }, 10s));

    // Stop is pressed while the cycle runs; the cycle's last read fails and its notice has
    // to be shown by the GUI thread while the stop waits.
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(user.script.ids(), std::vector<int>{kNoCommandMessage});
    EXPECT_EQ(user.callsFromWorker, 1);
    EXPECT_EQ(CommandsAfter(identification), kCycle);
    EXPECT_FALSE(page->isMonitoring());
    EXPECT_EQ(doc.m_bMonitoring, 0);
    EXPECT_EQ(doc.sensorFailure(), 0);
    EXPECT_EQ(doc.finalAssemblyNumber(), 441001);
}

TEST_F(InfoMonitoringTest, FailedReadEndsTheCycleAndMonitoringGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter());
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[16] = 64; });
    const std::size_t identification = StartMonitoring();

    ASSERT_TRUE(WaitUntil([&] { return Count(HINT_SHOW_INFO) == 1; }, 10s));
    EXPECT_EQ(user.script.ids(), std::vector<int>{kNoCommandMessage});
    EXPECT_EQ(user.callsFromWorker, 1);
    EXPECT_EQ(CommandsAfter(identification), std::vector<std::uint8_t>{16});
    // The worker goes on: the document is read, as the page reads it, between its cycles.
    std::int32_t finalAssemblyNumber = -1;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto lock = doc.transmitter().tryLockTransactions();
            if (lock.owns_lock()) finalAssemblyNumber = doc.finalAssemblyNumber();
            return lock.owns_lock();
        },
        10s));
    EXPECT_EQ(finalAssemblyNumber, 0);
    EXPECT_TRUE(page->isMonitoring());
    EXPECT_EQ(text(178), "0");

    // The transmitter answers again: the next cycle is whole.
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides.clear(); });
    ASSERT_TRUE(WaitUntil([&] { return Count(HINT_SHOW_INFO) == 2; }, 10s));
    std::vector<std::uint8_t> expected{16};
    expected.insert(expected.end(), kCycle.begin(), kCycle.end());
    EXPECT_EQ(CommandsAfter(identification), expected);
    EXPECT_EQ(text(178), "441001");

    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_FALSE(page->isMonitoring());
}

TEST_F(InfoMonitoringTest, EnterStartsAndStopsMonitoring)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter());
    button()->setFocus();
    QTest::keyClick(button(), Qt::Key_Return);
    EXPECT_TRUE(page->isMonitoring());
    EXPECT_EQ(button()->text(), kStopCaption);
    QTest::keyClick(button(), Qt::Key_Return);
    EXPECT_FALSE(page->isMonitoring());
    EXPECT_EQ(button()->text(), kStartCaption);
    EXPECT_EQ(doc.m_bMonitoring, 0);
}

TEST_F(InfoMonitoringTest, DestroyingThePageWaitsForTheRunningCycle)
{
    ASSERT_NO_FATAL_FAILURE(StartTransmitter(WireTimed()));
    const std::size_t identification = StartMonitoring();
    ASSERT_TRUE(WaitUntil([&] { return host->commands().size() > identification; }, 10s));
    ASSERT_LT(host->commands().size(), identification + kCycle.size());

    page.reset();
    EXPECT_EQ(CommandsAfter(identification), kCycle);
    EXPECT_EQ(doc.m_bMonitoring, 0);
    // The views go away with the page: no hint is sent to them any more.
    EXPECT_EQ(Count(HINT_ENABLE_MAIN), 0);
}
