#include "pages/focus_leave_check.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace pages {

FocusLeaveCheck::FocusLeaveCheck(QWidget* field, std::function<bool()> check)
    : QObject(field), m_field(field), m_check(std::move(check))
{
    field->installEventFilter(this);
}

bool FocusLeaveCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (m_dropping) {
        // The press that moved the focus arrives right after its focus change.
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            m_dropping = false;
            qApp->removeEventFilter(this);
            return true;
        }
        return false;
    }
    if (watched != m_field || event->type() != QEvent::FocusOut) return false;
    // Leaving the window or opening a popup is not leaving the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    if (m_check()) return false;
    m_field->setFocus();
    if (reason == Qt::MouseFocusReason) DropPendingClick();
    return false;
}

void FocusLeaveCheck::DropPendingClick()
{
    m_dropping = true;
    qApp->installEventFilter(this);
    // A focus change by the wheel brings no press: the drop ends with this event's dispatch.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_dropping) return;
            m_dropping = false;
            qApp->removeEventFilter(this);
        },
        Qt::QueuedConnection);
}

}  // namespace pages
