#pragma once

#include <vector>

#include <QPen>
#include <QWidget>

#include "diagnostics/trend_history.h"

class QAbstractSeries;
class QChart;
class QDateTimeAxis;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QValueAxis;

namespace document {
class CVeskDoc;
}

namespace diagnostics {

class TrendChartView;

// The trend of live monitoring, beside the main window: the measured value in its units and
// the loop current in mA over time on two axes, with the alarm and saturation levels of the
// monitored document as lines on the current's axis. A line never crosses a failed cycle
// (marked) or a stop of monitoring. Empty, it says how to fill it. Fed by every monitoring cycle
// while the window exists, shown or not; the last hour is kept. Zoom with the wheel or a dragged
// rectangle, pan with the arrow keys or a right-button drag; Home follows the newest samples again.
class TrendWindow : public QWidget {
    Q_OBJECT

public:
    explicit TrendWindow(document::CVeskDoc& doc, QWidget* parent = nullptr);
    ~TrendWindow() override;

    const TrendHistory& history() const { return m_history; }
    QChart* chart() const;

    void SaveCsv();
    void SavePng();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A plotted line: one series a stretch of consecutive measurements, the first of them
    // named in the legend.
    struct Line {
        QString name;
        QPen pen;
        QValueAxis* axis = nullptr;
        std::vector<QLineSeries*> series;
    };

    template <typename Series>
    Series* AddSeries(Series* series, const Line& line);
    void ShowSegments(Line& line, const std::vector<QList<QPointF>>& segments);
    void AddSample(const document::LiveSample& sample);
    void Replot();
    void ShowReferenceLevels();
    void FitAxes();

    document::CVeskDoc& m_doc;
    TrendHistory m_history;
    TrendChartView* m_view = nullptr;
    Line m_primary;
    Line m_current;
    QScatterSeries* m_failures = nullptr;
    std::vector<QLineSeries*> m_levels;  // low and high alarm, low and high saturation
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_primaryAxis = nullptr;
    QValueAxis* m_currentAxis = nullptr;
};

// The one trend window of the main window, made on first use, then shown and raised.
TrendWindow* ShowTrendWindow(document::CVeskDoc& doc, QWidget* mainWindow);

}  // namespace diagnostics
