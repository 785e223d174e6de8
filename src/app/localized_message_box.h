#pragma once

#include <memory>

#include <QMessageBox>
#include <QString>

// Icon of a message-box style word: 16 error, 32 question, 48 warning, 64 information.
QMessageBox::Icon IconOfStyle(int style);

// A box with the program's name (string 57344) as caption, no owner window and the text
// shown as written (never taken for markup).
std::unique_ptr<QMessageBox> NewProgramMessageBox(const QString& text, QMessageBox::Icon icon);

// Shows the box modally and returns the button pressed. Over a wait cursor the box shows
// the ordinary arrow, so the person can still see where to click.
QAbstractButton* ExecProgramMessageBox(QMessageBox& box);

// The program's question box: the buttons of the style word carry the program's Russian
// captions ("Продолжить", "Отмена", "Повторить", "Да", "Нет"); returns 1 OK, 2 Cancel,
// 3 Abort, 4 Retry, 6 Yes or 7 No.
int LocalizedMessageBox(int stringId, int style);
int LocalizedMessageBox(const QString& text, int style);
