#include "window_placement.h"

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
    if (reduced.height() < out.height()) {
        out.setTop(0);
        out.setBottom(reduced.height() - 1);
        out.setRight(out.right() + kScrollBarAllowance);
    }
    if (reduced.width() < out.width()) {
        out.setLeft(0);
        out.setRight(reduced.width() - 1);
    }
    return out;
}

void PlaceMainWindow(QMainWindow& window)
{
    window.adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QRect frame(QPoint(0, 0), window.sizeHint());
    const QRect clamped = ClampedFrame(frame, desktop);
    if (clamped.height() < frame.height()) {
        // The form no longer fits: it scrolls vertically inside the window.
        auto* scroll = new QScrollArea;
        scroll->setWidget(window.takeCentralWidget());
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        window.setCentralWidget(scroll);
    }
    window.setFixedSize(clamped.size());
    const QRect available = desktop.adjusted(0, 0, 0, -kTaskbarReserve);
    QRect placed(QPoint(0, 0), clamped.size());
    placed.moveCenter(available.center());
    if (placed.top() < available.top()) placed.moveTop(available.top());
    window.move(placed.topLeft());
}
