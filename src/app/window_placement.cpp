#include "app/window_placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>

namespace {
constexpr int kTaskbarReserve = 35;
constexpr int kScrollBarAllowance = 16;
}  // namespace

QRect ClampedFrame(const QRect& frame, const QRect& desktop)
{
    QRect reduced = desktop;
    reduced.setBottom(desktop.bottom() - kTaskbarReserve);
    QRect out = frame;
    const bool lower = reduced.height() < out.height();
    if (lower) {
        out.setTop(0);
        out.setBottom(reduced.height() - 1);
        out.setRight(out.right() + kScrollBarAllowance);
    }
    if (reduced.width() < out.width()) {
        out.setLeft(0);
        out.setRight(reduced.width() - 1);
        // Room for the horizontal scroll bar, as far as the screen allows.
        if (!lower)
            out.setBottom(
                std::min(out.bottom() + kScrollBarAllowance, out.top() + reduced.height() - 1));
    }
    return out;
}

void PlaceMainWindow(QMainWindow& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    PlaceMainWindow(window, screen ? screen->geometry() : QRect(0, 0, 1024, 768));
}

void PlaceMainWindow(QMainWindow& window, const QRect& desktop)
{
    window.adjustSize();
    const QRect frame(QPoint(0, 0), window.sizeHint());
    const QRect clamped = ClampedFrame(frame, desktop);
    if (clamped.height() < frame.height() || clamped.width() < frame.width()) {
        // The form no longer fits: it scrolls inside the window, each way it is cut.
        auto* scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(window.takeCentralWidget());
        window.setCentralWidget(scroll);
    }
    window.setFixedSize(clamped.size());
    const QRect available = desktop.adjusted(0, 0, 0, -kTaskbarReserve);
    QRect placed(QPoint(0, 0), clamped.size());
    placed.moveCenter(available.center());
    if (placed.top() < available.top()) placed.moveTop(available.top());
    if (placed.left() < available.left()) placed.moveLeft(available.left());
    window.move(placed.topLeft());
}
