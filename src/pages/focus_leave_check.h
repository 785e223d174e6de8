#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QWidget;

namespace pages {

// The check of a field that runs when the user leaves it. It runs at once, before the
// control that takes the focus can act: a refused value keeps the focus in the field, and
// the click that moved the focus away is dropped, so the clicked button does nothing.
// The check shows its own notice and answers whether the focus may leave. A tab bar takes
// no focus when clicked but hides the field: a press on one counts as leaving the field.
class FocusLeaveCheck : public QObject {
public:
    FocusLeaveCheck(QWidget* field, std::function<bool()> check);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TabBarGuard;
    void DropPendingClick();

    QWidget* m_field;
    std::function<bool()> m_check;
    bool m_dropping = false;
};

}  // namespace pages
