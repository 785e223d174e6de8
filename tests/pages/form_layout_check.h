#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Texts of a form that its controls cannot show in full: labels, group titles, buttons,
// list entries, and the widest number each edit of the form must hold.
QStringList ClippedTexts(QWidget* form, const QString& widestNumber);

// Controls that overlap each other or cross a group box's frame or title.
QStringList OverlappingControls(QWidget* form);

// Whether the form fits the display area of the main view's tab control.
bool FitsTheTabControl(QWidget* form);
