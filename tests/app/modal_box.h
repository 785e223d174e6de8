#pragma once

#include <QMessageBox>

#include <functional>

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
    Qt::CursorShape cursorShape = Qt::BlankCursor;  // override cursor shape, or BlankCursor for none
};

BoxSnapshot Snapshot(const QMessageBox& box);

// Arms a check of the GUI: when a message box opens (within the deadline), `handle` is
// given it and must close it. Use before calling code that shows a box and blocks.
void HandleNextMessageBox(std::function<void(QMessageBox&)> handle);

// Presses a standard button of the box as the user would.
void Press(QMessageBox& box, QMessageBox::StandardButton button);
