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
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "diagnostics/trend_chart_view.h"
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

bool Known(float value) { return std::isfinite(value); }

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
    resize(kInitialSize);

    auto* chart = new QChart;
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

    const auto addSeries = [&](const QString& name, const QColor& colour, QValueAxis* axis,
                               Qt::PenStyle style) {
        auto* series = new QLineSeries;
        series->setName(name);
        series->setPen(QPen(colour, style == Qt::SolidLine ? 2 : 1, style));
        chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(axis);
        return series;
    };
    m_primary =
        addSeries(LoadedText(kSensorTempLabel), kPrimaryColour, m_primaryAxis, Qt::SolidLine);
    m_current =
        addSeries(LoadedText(kLoopCurrentLabel), kCurrentColour, m_currentAxis, Qt::SolidLine);
    for (const int label : kLevelLabels) {
        const bool alarm = label == kLevelLabels[0] || label == kLevelLabels[1];
        m_levels.push_back(addSeries(LoadedText(label), alarm ? kAlarmColour : kSaturationColour,
                                     m_currentAxis, alarm ? Qt::DashLine : Qt::DotLine));
    }
    m_primaryAxis->setLinePenColor(kPrimaryColour);
    m_currentAxis->setLinePenColor(kCurrentColour);
    // One grid, the measured value's; the current's ticks would draw a second one across it.
    m_currentAxis->setGridLineVisible(false);
    m_primaryAxis->setTitleText(AxisTitle(kSensorTempLabel, {}));
    m_currentAxis->setTitleText(AxisTitle(kLoopCurrentLabel, LoadedText(tarvel::kMilliampereUnit)));
    // Beside the plot, one entry a line, so that no name is cut short; each drawn as its line.
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    m_view = new TrendChartView(chart, this);
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
    QList<QPointF> primary;
    QList<QPointF> current;
    for (const LiveSample& sample : m_history.samples()) {
        if (!sample.read) continue;
        const auto x = static_cast<qreal>(sample.time.toMSecsSinceEpoch());
        if (Known(sample.primaryValue)) primary.append({x, sample.primaryValue});
        if (Known(sample.loopCurrent)) current.append({x, sample.loopCurrent});
    }
    m_primary->replace(primary);
    m_current->replace(current);
    ShowReferenceLevels();
    if (m_view->following()) FitAxes();
}

void TrendWindow::ShowReferenceLevels()
{
    const float levels[] = {m_doc.lowAlmVal(), m_doc.highAlmVal(), m_doc.lowSatVal(),
                            m_doc.highSatVal()};
    const auto& samples = m_history.samples();
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
    for (const QPointF& point : m_primary->points()) primary.include(point.y());
    primary.applyTo(m_primaryAxis);
    Range current;
    for (const QPointF& point : m_current->points()) current.include(point.y());
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
