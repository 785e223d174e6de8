#pragma once

#include <QRect>

class QMainWindow;

// Where the main window goes: sized to its form, then clamped to the screen less 35 pixels
// at the bottom (a lower screen gives a form scrolling vertically in a window 16 pixels
// wider, a narrower one a form scrolling horizontally in a window up to 16 pixels higher);
// centred.
QRect ClampedFrame(const QRect& frame, const QRect& desktop);
// On the primary screen, or on the given desktop rectangle.
void PlaceMainWindow(QMainWindow& window);
void PlaceMainWindow(QMainWindow& window, const QRect& desktop);
