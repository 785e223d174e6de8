#pragma once

#include <functional>

#include <QMessageBox>

// What a message box showed, read while it is open.
struct BoxSnapshot {
    bool seen = false;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString defaultButtonText;
    bool hasOwner = true;
    bool modal = false;
    bool onGuiThread = false;
    Qt::CursorShape cursorShape =
        Qt::BlankCursor;  // override cursor shape, or BlankCursor for none
};

BoxSnapshot Snapshot(const QMessageBox& box);

// Arms a check of the GUI: when a message box opens (within the deadline), `handle` is
// given it and must close it. Use before calling code that shows a box and blocks.
void HandleNextMessageBox(std::function<void(QMessageBox&)> handle);

// The same for the next modal window that `matches`, and for the next one of a class.
void HandleNextModalWidget(const std::function<bool(QWidget&)>& matches,
                           std::function<void(QWidget&)> handle);

template <typename Window>
void HandleNextModal(std::function<void(Window&)> handle)
{
    HandleNextModalWidget(
        [](QWidget& modal) { return qobject_cast<Window*>(&modal) != nullptr; },
        [handle = std::move(handle)](QWidget& modal) { handle(static_cast<Window&>(modal)); });
}

// Presses a standard button of the box as the user would.
void Press(QMessageBox& box, QMessageBox::StandardButton button);
