// The desktop program used as an engineer uses it, against the simulated transmitter:
// read the configuration, change the range, send it, see a refused value turn yellow.
#include <QAction>
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
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "pages/config_page.h"
#include "support/simulated_transmitter.h"

namespace {

constexpr int kTagEdit = 123;
constexpr int kUpperRangeEdit = 134;
constexpr int kReadButton = 189;

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
