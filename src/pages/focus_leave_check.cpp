#include "pages/focus_leave_check.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTabBar>
#include <QWidget>

namespace pages {

// Watches the presses on tab bars while the field has the focus: a refused value drops the
// press, so the tab stays.
class FocusLeaveCheck::TabBarGuard : public QObject {
public:
    explicit TabBarGuard(FocusLeaveCheck& owner) : QObject(&owner), m_owner(owner)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress) return false;
        const auto* tabBar = qobject_cast<QTabBar*>(watched);
        QWidget* field = m_owner.m_field;
        if (tabBar == nullptr || tabBar->window() != field->window() || !field->isVisible() ||
            field->window()->focusWidget() != field)
            return false;
        return !m_owner.m_check();
    }

private:
    FocusLeaveCheck& m_owner;
};

FocusLeaveCheck::FocusLeaveCheck(QWidget* field, std::function<bool()> check)
    : QObject(field), m_field(field), m_check(std::move(check))
{
    field->installEventFilter(this);
    new TabBarGuard(*this);
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
    // Nor is a field disabled under a running device command: the user did not move.
    if (!m_field->isEnabled()) return false;
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
