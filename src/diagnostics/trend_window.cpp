#include "diagnostics/trend_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QBuffer>
#include <QChart>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include "diagnostics/trend_chart_view.h"
#include "diagnostics/window_fit.h"
#include "document/csv_log.h"
#include "document/display_text.h"
#include "document/framework_messages.h"
#include "document/vesk_doc.h"
#include "document/whole_file.h"
#include "resources/string_ids.h"
#include "resources/string_ids/diagnostics.h"

namespace diagnostics {
namespace {

using document::LiveSample;
using document::LoadedText;

using tarvel::kTrendCsvFilter;
using tarvel::kTrendPngFilter;
using tarvel::kTrendSaveCsvCaption;
using tarvel::kTrendSavePngCaption;
using tarvel::kTrendWindowTitle;
// The report's labels name the plotted values and the levels.
using tarvel::kLoopCurrentLabel;
using tarvel::kSensorTempLabel;
constexpr int kLevelLabels[] = {1111, 1112, 1113, 1114};
using tarvel::kTrendEmptyHint;
using tarvel::kTrendFailedCycleLabel;

constexpr QSize kInitialSize{900, 560};
constexpr int kTimeTicks = 7;
// Room above and below the values, as a part of their spread; a flat line gets a fixed room.
constexpr double kMarginPart = 0.1;
constexpr double kFlatMargin = 0.5;
constexpr qint64 kLoneSampleSpanMs = 30'000;

const QColor kPrimaryColour{0x1f, 0x77, 0xb4};
const QColor kCurrentColour{0xd6, 0x27, 0x28};
const QColor kAlarmColour{0x8c, 0x1c, 0x13};
const QColor kSaturationColour{0xff, 0x7f, 0x0e};
const QColor kFailureColour{0x40, 0x40, 0x40};
constexpr qreal kFailureMarkerSize = 9;
// Small enough for a 640×400 screen; the chart shrinks, the buttons stay reachable.
constexpr QSize kMinimumChartSize{240, 160};

bool Known(float value) { return std::isfinite(value); }

using Segments = std::vector<QList<QPointF>>;

// A value that was not measured ends the line: the next one starts another.
void EndLine(Segments& segments)
{
    if (!segments.back().isEmpty()) segments.emplace_back();
}

void Extend(Segments& segments, qreal x, float y)
{
    if (Known(y))
        segments.back().append({x, y});
    else
        EndLine(segments);
}

// 1, 2 or 5 times a power of ten, for about this many ticks over the span.
constexpr double kTicksWanted = 6;
double NiceStep(double span)
{
    const double rough = span / kTicksWanted;
    if (!(rough > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double multiple : {1.0, 2.0, 5.0})
        if (multiple * power >= rough) return multiple * power;
    return 10 * power;
}

// Ticks on round values, also after a zoom.
void UseRoundTicks(QValueAxis* axis)
{
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setLabelFormat(QStringLiteral("%g"));
    QObject::connect(axis, &QValueAxis::rangeChanged, axis,
                     [axis](qreal min, qreal max) { axis->setTickInterval(NiceStep(max - min)); });
}

struct Range {
    double low = INFINITY;
    double high = -INFINITY;

    void include(double value)
    {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    void applyTo(QValueAxis* axis) const
    {
        if (low > high) return;
        const double margin = high > low ? (high - low) * kMarginPart : kFlatMargin;
        // Ends on whole ticks, so the labels are round numbers.
        const double step = NiceStep(high - low + 2 * margin);
        axis->setRange(std::floor((low - margin) / step) * step,
                       std::ceil((high + margin) / step) * step);
    }
};

QString AxisTitle(int labelId, const QString& unit)
{
    return unit.isEmpty() ? LoadedText(labelId) : LoadedText(labelId) + QStringLiteral(", ") + unit;
}

QString ChooseFileToSave(QWidget* parent, const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog adds the suffix before it asks about replacing a file.
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace

TrendWindow::TrendWindow(document::CVeskDoc& doc, QWidget* parent)
    : QWidget(parent, Qt::Window), m_doc(doc)
{
    setWindowTitle(LoadedText(kTrendWindowTitle));

    auto* chart = new QChart;
    m_view = new TrendChartView(chart, this);
    m_view->setMinimumSize(kMinimumChartSize);
    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTickCount(kTimeTicks);
    m_primaryAxis = new QValueAxis;
    m_currentAxis = new QValueAxis;
    UseRoundTicks(m_primaryAxis);
    UseRoundTicks(m_currentAxis);
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_primaryAxis, Qt::AlignLeft);
    chart->addAxis(m_currentAxis, Qt::AlignRight);

    const auto pen = [](const QColor& colour, Qt::PenStyle style) {
        return QPen(colour, style == Qt::SolidLine ? 2 : 1, style);
    };
    m_primary = {
        LoadedText(kSensorTempLabel), pen(kPrimaryColour, Qt::SolidLine), m_primaryAxis, {}};
    m_current = {
        LoadedText(kLoopCurrentLabel), pen(kCurrentColour, Qt::SolidLine), m_currentAxis, {}};
    m_primary.series.push_back(AddSeries(new QLineSeries, m_primary));
    m_current.series.push_back(AddSeries(new QLineSeries, m_current));
    for (const int label : kLevelLabels) {
        const bool alarm = label == kLevelLabels[0] || label == kLevelLabels[1];
        const Line level{
            LoadedText(label),
            pen(alarm ? kAlarmColour : kSaturationColour, alarm ? Qt::DashLine : Qt::DotLine),
            m_currentAxis,
            {}};
        m_levels.push_back(AddSeries(new QLineSeries, level));
    }
    auto* failures = new QScatterSeries;
    failures->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    failures->setMarkerSize(kFailureMarkerSize);
    failures->setColor(kFailureColour);
    m_failures = AddSeries(
        failures, {LoadedText(kTrendFailedCycleLabel), QPen(kFailureColour), m_primaryAxis, {}});
    m_primaryAxis->setLinePenColor(kPrimaryColour);
    m_currentAxis->setLinePenColor(kCurrentColour);
    // One grid, the measured value's; the current's ticks would draw a second one across it.
    m_currentAxis->setGridLineVisible(false);
    m_primaryAxis->setTitleText(AxisTitle(kSensorTempLabel, {}));
    m_currentAxis->setTitleText(AxisTitle(kLoopCurrentLabel, LoadedText(tarvel::kMilliampereUnit)));
    // Beside the plot, one entry a line, so that no name is cut short; each drawn as its line.
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    auto* saveCsv = new QPushButton(LoadedText(kTrendSaveCsvCaption), this);
    auto* savePng = new QPushButton(LoadedText(kTrendSavePngCaption), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveCsv);
    buttons->addWidget(savePng);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(saveCsv, &QPushButton::clicked, this, &TrendWindow::SaveCsv);
    connect(savePng, &QPushButton::clicked, this, &TrendWindow::SavePng);
    connect(m_view, &TrendChartView::followingResumed, this, &TrendWindow::FitAxes);
    // Emitted on the monitoring worker: queued to this window's thread.
    connect(&m_doc, &document::CVeskDoc::liveValuesRead, this, &TrendWindow::AddSample);
    Replot();
    OpenInsideScreen(*this, kInitialSize);
}

template <typename Series>
Series* TrendWindow::AddSeries(Series* series, const Line& line)
{
    series->setName(line.name);
    series->setPen(line.pen);
    chart()->addSeries(series);
    series->attachAxis(m_timeAxis);
    series->attachAxis(line.axis);
    return series;
}

void TrendWindow::ShowSegments(Line& line, const std::vector<QList<QPointF>>& segments)
{
    while (line.series.size() < segments.size()) {
        QLineSeries* series = AddSeries(new QLineSeries, line);
        // One legend entry a line, not one a stretch.
        for (QLegendMarker* marker : chart()->legend()->markers(series)) marker->setVisible(false);
        line.series.push_back(series);
    }
    for (std::size_t i = 0; i < line.series.size(); ++i)
        line.series[i]->replace(i < segments.size() ? segments[i] : QList<QPointF>{});
}

TrendWindow::~TrendWindow() = default;

QChart* TrendWindow::chart() const { return m_view->chart(); }

void TrendWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Replot();
}

void TrendWindow::AddSample(const LiveSample& sample)
{
    m_history.add(sample);
    if (sample.read && sample.primaryUnits != transmitter::kUnitsNotSet)
        m_primaryAxis->setTitleText(
            AxisTitle(kSensorTempLabel, document::UnitText(sample.primaryUnits)));
    Replot();
}

void TrendWindow::Replot()
{
    // A line joins consecutive cycles of one run only: a failed cycle or a stop of monitoring
    // ends it, and nothing is drawn across the time that was not measured.
    // A failed cycle is marked at the measured value before it (after it, when none came
    // before), so the mark sits on the gap it made.
    Segments primary(1);
    Segments current(1);
    QList<QPointF> failedCycles;
    float lastPrimary = transmitter::kNotSetFloat;
    qsizetype firstUnplaced = 0;  // marks from here on wait for a measured value
    for (const LiveSample& sample : m_history.samples()) {
        const auto x = static_cast<qreal>(sample.time.toMSecsSinceEpoch());
        if (sample.startsRun || !sample.read) {
            EndLine(primary);
            EndLine(current);
        }
        if (!sample.read) {
            failedCycles.append({x, Known(lastPrimary) ? lastPrimary : 0.0});
            if (Known(lastPrimary)) firstUnplaced = failedCycles.size();
            continue;
        }
        Extend(primary, x, sample.primaryValue);
        Extend(current, x, sample.loopCurrent);
        if (!Known(sample.primaryValue)) continue;
        lastPrimary = sample.primaryValue;
        for (; firstUnplaced < failedCycles.size(); ++firstUnplaced)
            failedCycles[firstUnplaced].setY(lastPrimary);
    }
    ShowSegments(m_primary, primary);
    ShowSegments(m_current, current);
    m_failures->replace(failedCycles);
    m_failures->setVisible(!failedCycles.isEmpty());
    ShowReferenceLevels();
    chart()->setTitle(m_history.samples().empty() ? LoadedText(kTrendEmptyHint) : QString());
    if (m_view->following()) FitAxes();
}

void TrendWindow::ShowReferenceLevels()
{
    // Those of the document that was monitored, also after another one has been opened.
    const auto& samples = m_history.samples();
    const LiveSample newest = samples.empty() ? LiveSample{} : samples.back();
    const float levels[] = {newest.lowAlarm, newest.highAlarm, newest.lowSaturation,
                            newest.highSaturation};
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        QLineSeries* line = m_levels[i];
        const bool shown = Known(levels[i]) && !samples.empty();
        line->setVisible(shown);
        if (!shown) {
            line->clear();
            continue;
        }
        // Across the whole history, so the line is there wherever the view is panned.
        const qint64 first = samples.front().time.toMSecsSinceEpoch();
        const qint64 last = samples.back().time.toMSecsSinceEpoch();
        line->replace(QList<QPointF>{{static_cast<qreal>(first), levels[i]},
                                     {static_cast<qreal>(last), levels[i]}});
    }
}

void TrendWindow::FitAxes()
{
    const auto& samples = m_history.samples();
    if (samples.empty()) return;
    QDateTime first = samples.front().time;
    QDateTime last = samples.back().time;
    if (first >= last) {
        first = first.addMSecs(-kLoneSampleSpanMs);
        last = last.addMSecs(kLoneSampleSpanMs);
    }
    m_timeAxis->setRange(first, last);

    Range primary;
    for (const QLineSeries* series : m_primary.series)
        for (const QPointF& point : series->points()) primary.include(point.y());
    for (const QPointF& point : m_failures->points()) primary.include(point.y());
    primary.applyTo(m_primaryAxis);
    Range current;
    for (const QLineSeries* series : m_current.series)
        for (const QPointF& point : series->points()) current.include(point.y());
    for (const QLineSeries* line : m_levels)
        if (line->isVisible() && line->count() > 0) current.include(line->at(0).y());
    current.applyTo(m_currentAxis);
}

void TrendWindow::SaveCsv()
{
    const QString path = ChooseFileToSave(this, LoadedText(kTrendCsvFilter), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    const std::vector<LiveSample> samples(m_history.samples().begin(), m_history.samples().end());
    QString error;
    if (!document::WriteCsv(path, samples, &error))
        m_doc.ui().notify(document::kNoStringId, error.toStdString(),
                          hart::MessageIcon::Exclamation);
}

void TrendWindow::SavePng()
{
    const QString path = ChooseFileToSave(this, LoadedText(kTrendPngFilter), QStringLiteral("png"));
    if (path.isEmpty()) return;
    const QImage image = m_view->grab().toImage();
    QByteArray png;
    QBuffer buffer(&png);
    const QString error = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG")
                              ? document::WriteWholeFile(path, png)
                              : QStringLiteral("the picture could not be made");
    if (error.isEmpty()) return;
    m_doc.ui().notify(document::kNoStringId, document::FailedToWrite(path, error).toStdString(),
                      hart::MessageIcon::Exclamation);
}

TrendWindow* ShowTrendWindow(document::CVeskDoc& doc, QWidget* mainWindow)
{
    auto* window = mainWindow->findChild<TrendWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new TrendWindow(doc, mainWindow);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace diagnostics
