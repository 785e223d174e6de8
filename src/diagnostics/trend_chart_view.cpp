#include "diagnostics/trend_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace diagnostics {
namespace {

constexpr qreal kZoomStep = 1.25;
// A key press pans by this part of the plot.
constexpr qreal kPanStep = 0.1;

}  // namespace

TrendChartView::TrendChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::StrongFocus);
}

void TrendChartView::Zoom(qreal factor)
{
    m_following = false;
    chart()->zoom(factor);
}

void TrendChartView::Pan(qreal dx, qreal dy)
{
    m_following = false;
    chart()->scroll(dx, dy);
}

void TrendChartView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) return QChartView::wheelEvent(event);
    Zoom(delta > 0 ? kZoomStep : 1.0 / kZoomStep);
    event->accept();
}

void TrendChartView::keyPressEvent(QKeyEvent* event)
{
    const QRectF plot = chart()->plotArea();
    switch (event->key()) {
    case Qt::Key_Plus: Zoom(kZoomStep); break;
    case Qt::Key_Minus: Zoom(1.0 / kZoomStep); break;
    case Qt::Key_Left: Pan(-plot.width() * kPanStep, 0); break;
    case Qt::Key_Right: Pan(plot.width() * kPanStep, 0); break;
    case Qt::Key_Up: Pan(0, plot.height() * kPanStep); break;
    case Qt::Key_Down: Pan(0, -plot.height() * kPanStep); break;
    case Qt::Key_Home:
        m_following = true;
        emit followingResumed();
        break;
    default: QChartView::keyPressEvent(event); return;
    }
    event->accept();
}

void TrendChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        m_panning = true;
        m_panFrom = event->position().toPoint();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) m_pressedAt = event->position().toPoint();
    QChartView::mousePressEvent(event);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_panning) return QChartView::mouseMoveEvent(event);
    const QPoint to = event->position().toPoint();
    // The content follows the pointer: the view moves the other way.
    Pan(m_panFrom.x() - to.x(), to.y() - m_panFrom.y());
    m_panFrom = to;
    event->accept();
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        m_panning = false;
        event->accept();
        return;
    }
    // A dragged rectangle zooms when the button is released.
    if (event->button() == Qt::LeftButton && event->position().toPoint() != m_pressedAt)
        m_following = false;
    QChartView::mouseReleaseEvent(event);
}

}  // namespace diagnostics
