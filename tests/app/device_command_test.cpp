// A device command runs while the window stays in use: what the user can and cannot do
// while a read from the simulated transmitter runs, and what each leaves behind.
#include <algorithm>
#include <functional>

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/vesk_pc_main_win.h"
#include "app/vesk_view.h"
#include "app/window_ids.h"
#include "controls/dialog_units.h"
#include "diagnostics/trace_window.h"
#include "document/question_box.h"
#include "pages/config_page.h"
#include "support/gui_wait.h"
#include "support/simulated_transmitter.h"

namespace {

constexpr int kCancelButton = 1480;
constexpr int kReceptionComplete = 899;
constexpr int kCancelled = 1481;

class DeviceCommandTest : public testing::Test, protected SimulatedTransmitter<> {
protected:
    DeviceCommandTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        StartTransmitter();
        window = std::make_unique<CVeskPcMainWin>(doc);
        window->show();
        paints.test = this;
        window->view()->installEventFilter(&paints);
    }

    // Clicks "Загрузить из устройства" and, once the read has begun to talk to the
    // transmitter, does `action` from within the running command.
    void ReadAndMeanwhile(const std::function<void()>& action)
    {
        RunAndMeanwhile(
            [this] {
                QTest::mouseClick(FindControlAs<QPushButton>(window->view(), kReadButton),
                                  Qt::LeftButton);
            },
            action, 2);
    }

    // Starts a command and does `action` once the transmitter has had `requests` requests.
    void RunAndMeanwhile(const std::function<void()>& start, const std::function<void()>& action,
                         std::size_t requests)
    {
        QTimer poll;
        bool done = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done || host->commands().size() < requests) return;
            done = true;
            ASSERT_TRUE(doc.commands().running());
            action();
        });
        poll.start(5);
        start();
        EXPECT_TRUE(done) << "the command ended before it could be used";
    }

    std::size_t Identifications() const
    {
        const std::vector<std::uint8_t> sent = host->commands();
        return sent.empty() ? 0 : std::count(sent.begin(), sent.end(), sent.front());
    }

    // Paint events of the view while a command runs.
    struct PaintCounter : QObject {
        DeviceCommandTest* test = nullptr;
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && test->doc.commands().running()) ++count;
            return false;
        }
    };

    QTemporaryDir config;
    PaintCounter paints;
    std::unique_ptr<CVeskPcMainWin> window;
};

struct DuringRead {
    const char* what;
    std::function<void(DeviceCommandTest&, CVeskPcMainWin&)> act;
    int endMessage;
};

}  // namespace

TEST_F(DeviceCommandTest, WhatTheUserDoesDuringARead)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    std::size_t requestsWhenTraced = 0;
    std::size_t tracedRequestsOfRead = 0;
    bool menuOpened = false;
    bool readOffered = true;
    // Esc goes to the active window: first, before a menu has taken the activation away.
    const DuringRead rows[] = {
        {"presses Esc",
         [](DeviceCommandTest&, CVeskPcMainWin& w) { QTest::keyClick(&w, Qt::Key_Escape); },
         kCancelled},
        {"opens a menu: it opens, its device items disabled",
         [&](DeviceCommandTest&, CVeskPcMainWin& w) {
             QMenu* menu = w.menuBar()->actions().front()->menu();
             menu->popup(w.mapToGlobal(QPoint(0, 0)));
             menuOpened = menu->isVisible();
             readOffered = w.action(kCmdReadFromDevice)->isEnabled() ||
                           w.action(kCmdFileOpen)->isEnabled() ||
                           w.action(kCmdFileSave)->isEnabled();
             menu->close();
         },
         kReceptionComplete},
        {"triggers the disabled read and clicks its button: no second read",
         [](DeviceCommandTest&, CVeskPcMainWin& w) {
             w.action(kCmdReadFromDevice)->trigger();
             QTest::mouseClick(FindControlAs<QPushButton>(w.view(), kReadButton), Qt::LeftButton);
         },
         kReceptionComplete},
        {"opens the frame trace, which shows the frames as they come",
         [&](DeviceCommandTest&, CVeskPcMainWin& w) {
             w.action(kCmdFrameTrace)->trigger();
             const QAbstractItemModel* rows = w.traceWindow()->findChild<QTableView*>()->model();
             const int before = rows->rowCount();
             if (WaitUntil([&] { return rows->rowCount() > before; }))
                 requestsWhenTraced = host->commands().size();
         },
         kReceptionComplete},
        {"moves the window, which repaints",
         [](DeviceCommandTest&, CVeskPcMainWin& w) {
             w.move(w.pos() + QPoint(16, 8));
             w.view()->update();
             QTest::qWait(50);
         },
         kReceptionComplete},
        {"presses Отмена",
         [](DeviceCommandTest&, CVeskPcMainWin& w) {
             QTest::mouseClick(FindControlAs<QPushButton>(w.view(), kCancelButton), Qt::LeftButton);
         },
         kCancelled},
    };
    for (const DuringRead& row : rows) {
        SCOPED_TRACE(row.what);
        doc.OnNewDocument();
        host->clearRequests();
        user.messages.clear();
        ReadAndMeanwhile([&] { row.act(*this, *window); });

        EXPECT_FALSE(doc.commands().running());
        EXPECT_EQ(user.ids(), std::vector<int>{row.endMessage});
        EXPECT_EQ(Identifications(), 1u);
        EXPECT_TRUE(doc.IsModified());
        const QString tag = FindControlAs<QLineEdit>(window->view()->page(0), kTagEdit)->text();
        // A cancelled read leaves the values as a failed one: cleared.
        EXPECT_EQ(tag, row.endMessage == kCancelled ? QString() : QString("TT-101  "));
        EXPECT_TRUE(window->action(kCmdReadFromDevice)->isEnabled());
        if (requestsWhenTraced != 0 && tracedRequestsOfRead == 0)
            tracedRequestsOfRead = host->commands().size();
    }
    // The trace had new rows while the read still had requests to send.
    EXPECT_GT(requestsWhenTraced, 0u);
    EXPECT_LT(requestsWhenTraced, tracedRequestsOfRead);
    EXPECT_TRUE(menuOpened);
    EXPECT_FALSE(readOffered);
    EXPECT_GT(paints.count, 0);
}

// Closing the window ends the read first (cancelled), then asks about the unsaved values.
TEST_F(DeviceCommandTest, ClosingTheWindowCancelsTheReadFirst)
{
    user.answers = {document::IDNO};
    ReadAndMeanwhile([this] { window->close(); });
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(user.ids(), std::vector<int>{kCancelled});
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_TRUE(user.answers.empty());
    EXPECT_EQ(Identifications(), 1u);
}

// Against a silent transmitter a check waits about 15 s (three attempts with their pauses);
// a cancel ends it at once, and it says so instead of "not found".
TEST_F(DeviceCommandTest, CancelEndsTheWaitForASilentTransmitter)
{
    host->withDevice([](sim::Device& d) { d.faults().silent = sim::FaultCount::always(); });
    QElapsedTimer clock;
    clock.start();
    RunAndMeanwhile([this] { window->action(kCmdCheckConnection)->trigger(); },
                    [this] {
                        QTest::mouseClick(FindControlAs<QPushButton>(window->view(), kCancelButton),
                                          Qt::LeftButton);
                    },
                    1);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(user.ids(), std::vector<int>{kCancelled});
}
