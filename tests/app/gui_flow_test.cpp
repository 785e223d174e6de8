// The desktop program used as an engineer uses it, against the simulated transmitter:
// read the configuration, change the range, send it, see a refused value turn yellow.
#include <algorithm>
#include <functional>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/vesk_pc_main_win.h"
#include "app/vesk_view.h"
#include "app/window_ids.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "pages/config_page.h"
#include "support/simulated_transmitter.h"

namespace {

constexpr int kUpperRangeEdit = 134;
constexpr int kDampingEdit = 143;
constexpr int kSendBasicButton = 1244;

class GuiFlowTest : public testing::Test, protected SimulatedTransmitter<> {
protected:
    GuiFlowTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        StartTransmitter();
        window = std::make_unique<CVeskPcMainWin>(doc);
        window->show();
    }

    template <typename T>
    T* Control(int id)
    {
        // The view's own controls, else those of the Basic page (numbers repeat across forms).
        if (T* own = FindControlAs<T>(window->view(), id); own && (id == kReadButton || id == 1239))
            return own;
        return FindControlAs<T>(window->view()->page(0), id);
    }

    QTemporaryDir config;
    std::unique_ptr<CVeskPcMainWin> window;
};

}  // namespace

TEST_F(GuiFlowTest, ReadChangeSendAndSeeTheRefusal)
{
    QTest::mouseClick(Control<QPushButton>(kReadButton), Qt::LeftButton);
    EXPECT_EQ(user.ids(), (std::vector<int>{899}));
    EXPECT_EQ(Control<QLineEdit>(kTagEdit)->text(),
              QString("TT-101  "));  // as the transmitter pads it
    EXPECT_EQ(Control<QLineEdit>(kUpperRangeEdit)->text(), QString("100.00"));
    EXPECT_EQ(Control<QProgressBar>(1239)->value(), 0);
    EXPECT_TRUE(window->action(kCmdFileSave)->isEnabled());

    // A range the transmitter takes.
    QLineEdit* upper = Control<QLineEdit>(kUpperRangeEdit);
    upper->setFocus();
    upper->selectAll();
    QTest::keyClicks(upper, "150");
    QTest::keyClick(upper, Qt::Key_Tab);
    EXPECT_EQ(doc.upperRangeValue(), 150.0f);
    user.answers = {document::IDOK};
    window->action(kCmdSendBasic)->trigger();
    EXPECT_EQ(user.ids().back(), 900);
    EXPECT_EQ(host->withDevice([](sim::Device& d) { return d.state().config.upperRangeValue; }),
              150.0f);

    // One it refuses: the field turns yellow and the Basic page comes forward.
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[35] = 11; });
    window->view()->tabs()->setCurrentIndex(2);
    upper->setFocus();
    upper->selectAll();
    QTest::keyClicks(upper, "160");
    QTest::keyClick(upper, Qt::Key_Tab);
    user.answers = {document::IDOK};
    user.messages.clear();
    window->action(kCmdSendBasic)->trigger();
    // The refusal is told, and no success after it.
    const std::vector<int> shown = user.ids();
    EXPECT_NE(std::find(shown.begin(), shown.end(), 1012), shown.end());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), 900), shown.end());
    EXPECT_TRUE(doc.upperRangeValueFailed());
    EXPECT_EQ(window->view()->currentTab(), 0);
    auto* coloured = qobject_cast<CMyColorEdit*>(upper);
    ASSERT_NE(coloured, nullptr);
    EXPECT_EQ(coloured->backgroundColor(), QColor(255, 255, 0));
}

// Enter presses the focused button on the Information page. After it has stopped
// monitoring, the focus is on the tabs given back: a second Enter starts nothing.
TEST_F(GuiFlowTest, SecondEnterAfterStoppingMonitoringStartsNothing)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->view()->tabs()->setCurrentIndex(2);
    auto* monitoring = FindControlAs<QPushButton>(window->view()->page(2), 194);
    monitoring->setFocus();
    const auto enter = [] { QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return); };
    enter();
    ASSERT_EQ(doc.m_bMonitoring, 1);
    enter();
    ASSERT_EQ(doc.m_bMonitoring, 0);
    EXPECT_FALSE(monitoring->hasFocus());
    EXPECT_TRUE(window->view()->tabs()->tabBar()->hasFocus());
    enter();
    EXPECT_EQ(doc.m_bMonitoring, 0);
    EXPECT_EQ(window->view()->currentTab(), 2);
}

// A damping above 32 s reaches neither the transmitter nor another tab: the page's button (the
// field lets 32.5 pass), the menu command that skips the page's checks and a click on another
// tab stop at 901, before any question and before anything is written.
TEST_F(GuiFlowTest, DampingAboveThirtyTwoSecondsIsNeverSent)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(Control<QPushButton>(kReadButton), Qt::LeftButton);
    auto* damping = Control<QLineEdit>(kDampingEdit);
    QTabBar* tabs = window->view()->tabs()->tabBar();
    const struct {
        const char* name;
        const char* typed;
        std::function<void()> leave;
        bool keepsTheFocus;
    } cases[] = {
        {"the page's send button", "32.5",
         [&] { QTest::mouseClick(Control<QPushButton>(kSendBasicButton), Qt::LeftButton); }, false},
        {"the menu command", "45", [&] { window->action(kCmdSendBasic)->trigger(); }, true},
        {"a click on another tab", "40",
         [&] { QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center()); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        user.messages.clear();
        user.questions.clear();
        user.answers = {document::IDOK};
        host->clearRequests();
        damping->setFocus();
        damping->selectAll();
        QTest::keyClicks(damping, c.typed);
        c.leave();
        EXPECT_EQ(user.ids(), (std::vector<int>{901}));
        EXPECT_TRUE(user.questions.empty());
        EXPECT_TRUE(host->commands().empty());
        EXPECT_EQ(window->view()->currentTab(), 0);
        EXPECT_EQ(damping->hasFocus(), c.keepsTheFocus);
    }
    EXPECT_EQ(host->withDevice([](sim::Device& d) { return d.state().config.dampingS; }), 1.0f);
}

// A read that failed in a group names the groups it did not read instead of "Приём завершен";
// saving what it left asks first, and only "Да" replaces the file.
TEST_F(GuiFlowTest, IncompleteReadSaysSoAndSavingItAsksFirst)
{
    const QString path = config.filePath("plant.4410");
    QTest::mouseClick(Control<QPushButton>(kReadButton), Qt::LeftButton);
    window->chooseFileToSave = [&](const QString&) { return path; };
    ASSERT_TRUE(window->OnFileSaveAs());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray complete = file.readAll();
    file.close();

    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[150] = 64; });
    user.messages.clear();
    user.answers = {document::IDYES};  // the values read before are given up
    QTest::mouseClick(Control<QPushButton>(kReadButton), Qt::LeftButton);
    ASSERT_FALSE(user.messages.empty());
    EXPECT_EQ(user.messages.back().id, 1470);
    EXPECT_EQ(user.messages.back().text,
              "Приём не завершен, не прочитаны: фильтр сети и номер сборки");
    const std::vector<int> shown = user.ids();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 899), 0);

    const struct {
        const char* name;
        std::function<void()> save;
        int answer;
        bool replaced;
    } cases[] = {
        {"Save, answered no", [&] { window->action(kCmdFileSave)->trigger(); }, document::IDNO,
         false},
        {"Save As, answered no", [&] { window->action(kCmdFileSaveAs)->trigger(); }, document::IDNO,
         false},
        {"Save, answered yes", [&] { window->action(kCmdFileSave)->trigger(); }, document::IDYES,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        user.questions.clear();
        user.answers = {c.answer};
        c.save();
        ASSERT_EQ(user.questions.size(), 1u);
        EXPECT_EQ(user.questions[0].id, 1477);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll() != complete, c.replaced);
        file.close();
    }
}
