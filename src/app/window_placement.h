#pragma once

#include <QRect>

class QMainWindow;

// Where the main window goes: sized to its form, then clamped to the screen less 35 pixels
// at the bottom (a lower screen gives a scrolling form 16 pixels wider); centred.
QRect ClampedFrame(const QRect& frame, const QRect& desktop);
void PlaceMainWindow(QMainWindow& window);
