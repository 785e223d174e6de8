#pragma once

#include <QChartView>
#include <QPoint>

namespace diagnostics {

// The trend's chart with pan and zoom: the wheel and +/- zoom, a dragged rectangle zooms
// into it, the arrow keys and a right-button drag pan. Any of these stops following the
// newest samples; Home follows them again.
class TrendChartView : public QChartView {
    Q_OBJECT

public:
    explicit TrendChartView(QChart* chart, QWidget* parent = nullptr);

    bool following() const { return m_following; }

signals:
    void followingResumed();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Zoom(qreal factor);
    void Pan(qreal dx, qreal dy);

    bool m_following = true;
    bool m_panning = false;
    QPoint m_panFrom;
    QPoint m_pressedAt;
};

}  // namespace diagnostics
