#pragma once

#include <QSize>

class QWidget;

namespace diagnostics {

// Sizes a window beside the main window to its preferred size as far as the available area
// of its screen (the main window's) allows, never below what its controls need, and places
// it wholly inside that area, centred.
void OpenInsideScreen(QWidget& window, QSize preferred);

}  // namespace diagnostics
