// The desktop's side of the user seam: notices and questions on the GUI thread, also when
// the monitoring thread raises them, and a balanced wait cursor.
#include <atomic>
#include <memory>
#include <thread>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "app/gui_user_interaction.h"
#include "app/modal_box.h"
#include "app/window_ids.h"
#include "document/gui_thread_call.h"
#include "support/gui_wait.h"

namespace {

using hart::MessageIcon;

// A worker thread that is always joined: if the test failed to close its box, the worker is
// left to the end of the process instead of taking it down.
class Worker {
public:
    template <typename F>
    explicit Worker(F work)
        : m_thread([this, work] {
              work();
              m_done = true;
          })
    {
    }
    ~Worker()
    {
        if (finish())
            m_thread.join();
        else
            m_thread.detach();
    }
    bool done() const { return m_done; }
    bool finish()
    {
        return WaitUntil([this] { return m_done.load(); });
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

Qt::CursorShape OverrideShape()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::BlankCursor;
}

TEST(GuiUserInteractionTest, NoticeShowsTextCaptionIconAndOneOkButton)
{
    const struct {
        MessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {
        {MessageIcon::None, QMessageBox::NoIcon},
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Information, QMessageBox::Information},
    };
    GuiUserInteraction ui;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        BoxSnapshot shot;
        HandleNextMessageBox([&](QMessageBox& box) {
            shot = Snapshot(box);
            Press(box, QMessageBox::Ok);
        });
        ui.notify(935, "Датчик Тарвел-4410 найден", c.icon);
        ASSERT_TRUE(shot.seen);
        EXPECT_EQ(shot.text, QString::fromUtf8("Датчик Тарвел-4410 найден"));
        EXPECT_EQ(shot.title, kProgramName);
        EXPECT_EQ(shot.icon, c.shown);
        EXPECT_EQ(shot.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_FALSE(shot.hasOwner);
        EXPECT_TRUE(shot.modal);
    }
}

TEST(GuiUserInteractionTest, QuestionIsTheProgramQuestionBox)
{
    GuiUserInteraction ui;
    BoxSnapshot shot;
    QString retryCaption;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        retryCaption = box.button(QMessageBox::Retry)->text();
        Press(box, QMessageBox::Retry);
    });
    EXPECT_EQ(ui.ask(906, "Датчик Тарвел-4410 не найден", 21), 4);
    EXPECT_EQ(shot.text, QString::fromUtf8("Датчик Тарвел-4410 не найден"));
    EXPECT_EQ(shot.icon, QMessageBox::Critical);
    EXPECT_EQ(retryCaption, QString::fromUtf8("Повторить"));
}

// The box runs its own event loop inside the GUI thread's wait for the worker, so it is
// answered from there, like a person would.
TEST(GuiUserInteractionTest, NoticeFromAnotherThreadIsShownOnTheGuiThreadAndWaitsForTheUser)
{
    GuiUserInteraction ui;
    BoxSnapshot shot;
    bool workerWentOn = true;
    std::unique_ptr<Worker> worker;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        workerWentOn = worker->done();
        Press(box, QMessageBox::Ok);
    });
    worker =
        std::make_unique<Worker>([&ui] { ui.notify(1010, "Ошибка связи", MessageIcon::Error); });

    EXPECT_TRUE(worker->finish());
    ASSERT_TRUE(shot.seen);
    EXPECT_TRUE(shot.onGuiThread);
    EXPECT_EQ(shot.text, QString::fromUtf8("Ошибка связи"));
    EXPECT_EQ(shot.icon, QMessageBox::Critical);
    EXPECT_FALSE(workerWentOn) << "the worker went on while its notice was open";
}

TEST(GuiUserInteractionTest, QuestionFromAnotherThreadReturnsTheAnswerToThatThread)
{
    GuiUserInteraction ui;
    std::atomic<int> answer{0};
    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::Cancel);
    });
    Worker worker([&] { answer = ui.ask(906, "Датчик Тарвел-4410 не найден", 21); });

    ASSERT_TRUE(worker.finish());
    EXPECT_TRUE(shot.onGuiThread);
    EXPECT_EQ(shot.buttons, QMessageBox::Retry | QMessageBox::Cancel);
    EXPECT_EQ(answer, 2);
}

TEST(GuiUserInteractionTest, WaitCursorIsBalancedAndNests)
{
    GuiUserInteraction ui;
    ui.beginWait();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    ui.beginWait();
    ui.endWait();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    ui.endWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(GuiUserInteractionTest, NoticeUnderTheWaitCursorShowsTheArrowAndKeepsTheWait)
{
    GuiUserInteraction ui;
    ui.beginWait();
    BoxSnapshot shot;
    HandleNextMessageBox([&](QMessageBox& box) {
        shot = Snapshot(box);
        Press(box, QMessageBox::Ok);
    });
    ui.notify(920, "Приём завершен", MessageIcon::Information);
    EXPECT_EQ(shot.cursorShape, Qt::ArrowCursor);
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    ui.endWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(GuiUserInteractionTest, WaitCursorFromAnotherThreadReachesTheGuiThreadBalanced)
{
    GuiUserInteraction ui;
    {
        Worker worker([&ui] {
            ui.beginWait();
            ui.beginWait();
            ui.endWait();
        });
        ASSERT_TRUE(worker.finish());
    }
    QCoreApplication::sendPostedEvents(&ui, QEvent::MetaCall);
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    {
        Worker worker([&ui] { ui.endWait(); });
        ASSERT_TRUE(worker.finish());
    }
    QCoreApplication::sendPostedEvents(&ui, QEvent::MetaCall);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A receiver that drops every queued call without running it, as Qt does with the calls
// still queued to an object when it is destroyed.
class DroppingReceiver : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall) return true;
        return QObject::event(event);
    }
};

TEST(GuiThreadCall, ACallDroppedOnItsWayEndsTheWaitWithoutRunning)
{
    DroppingReceiver receiver;
    std::atomic<bool> ran{false};
    std::weak_ptr<int> capture;
    Worker caller([&] {
        auto owned = std::make_shared<int>(0);
        capture = owned;
        RunOnThreadOfAndWait(&receiver, [&ran, owned = std::move(owned)] { ran = true; });
    });
    EXPECT_TRUE(caller.finish());
    EXPECT_FALSE(ran);
    EXPECT_TRUE(capture.expired());  // the dropped work was freed
}

}  // namespace
