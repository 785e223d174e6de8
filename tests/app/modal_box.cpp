#include "app/modal_box.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/gui_wait.h"

namespace {
constexpr int kPollMs = 5;
}  // namespace

BoxSnapshot Snapshot(const QMessageBox& box)
{
    BoxSnapshot shot;
    shot.seen = true;
    shot.title = box.windowTitle();
    shot.text = box.text();
    shot.format = box.textFormat();
    shot.icon = box.icon();
    shot.buttons = box.standardButtons();
    if (const QPushButton* button = box.defaultButton()) shot.defaultButtonText = button->text();
    shot.hasOwner = box.parentWidget() != nullptr;
    shot.modal = box.isModal();
    shot.onGuiThread = box.thread() == QApplication::instance()->thread();
    const QCursor* cursor = QApplication::overrideCursor();
    shot.cursorShape = cursor ? cursor->shape() : Qt::BlankCursor;
    return shot;
}

void HandleNextModalWidget(const std::function<bool(QWidget&)>& matches,
                           std::function<void(QWidget&)> handle)
{
    auto* poll = new QTimer(QApplication::instance());
    const QDeadlineTimer deadline(kGuiWait);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, deadline, matches, handle = std::move(handle)] {
                         if (QWidget* modal = QApplication::activeModalWidget();
                             modal != nullptr && modal->isVisible() && matches(*modal)) {
                             poll->deleteLater();
                             poll->stop();
                             handle(*modal);
                         } else if (deadline.hasExpired()) {
                             poll->deleteLater();
                             poll->stop();
                             ADD_FAILURE() << "no such modal window opened";
                         }
                     });
    poll->start(kPollMs);
}

void HandleNextMessageBox(std::function<void(QMessageBox&)> handle)
{
    HandleNextModal<QMessageBox>(std::move(handle));
}

void Press(QMessageBox& box, QMessageBox::StandardButton button)
{
    QAbstractButton* widget = box.button(button);
    if (widget == nullptr) {
        ADD_FAILURE() << "the box has no button " << button;
        box.done(0);  // close it all the same, so the test goes on
        return;
    }
    QTest::mouseClick(widget, Qt::LeftButton);
}
