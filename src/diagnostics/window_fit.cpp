#include "diagnostics/window_fit.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace diagnostics {

void OpenInsideScreen(QWidget& window, QSize preferred)
{
    const QWidget* anchor = window.parentWidget() != nullptr ? window.parentWidget() : &window;
    const QScreen* screen = anchor->screen();
    if (screen == nullptr) {
        window.resize(preferred);
        return;
    }
    const QRect available = screen->availableGeometry();
    // The title bar and borders are outside the window's own size, known once a window is
    // shown: until then, those of the main window, decorated alike.
    const QWidget* decorated = window.isVisible() ? &window : anchor->window();
    const QSize frame = decorated->frameGeometry().size() - decorated->geometry().size();
    const QSize size = preferred.boundedTo(available.size() - frame)
                           .expandedTo(window.minimumSizeHint())
                           .expandedTo(window.minimumSize());
    window.resize(size);
    QRect placed(QPoint(0, 0), size + frame);
    placed.moveCenter(available.center());
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    window.move(placed.topLeft());
}

}  // namespace diagnostics
