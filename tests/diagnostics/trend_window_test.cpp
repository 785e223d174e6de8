// The trend window from the menu, fed by monitoring started on the Information page.
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QFileDialog>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>

#include "app/modal_box.h"
#include "app/vesk_view.h"
#include "controls/dialog_units.h"
#include "diagnostics/diagnostics_fixture.h"
#include "diagnostics/trend_window.h"
#include "document/live_sample.h"
#include "pages/config_page.h"
#include "support/gui_wait.h"

using namespace std::chrono_literals;

namespace {

constexpr int kMonitoringButton = 194;

QLineSeries* Series(const QChart& chart, const char* name)
{
    for (QAbstractSeries* series : chart.series())
        if (series->name() == QString::fromUtf8(name)) return qobject_cast<QLineSeries*>(series);
    return nullptr;
}

QString AxisTitle(QLineSeries& series, Qt::Alignment side)
{
    for (QAbstractAxis* axis : series.attachedAxes())
        if (axis->alignment() == side) return axis->titleText();
    return {};
}

// Clicks the window's button and names the file "trend" in Qt's own save dialog.
void SaveThroughTheDialog(QWidget& window, const char* caption, const QString& name)
{
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() != QString::fromUtf8(caption)) continue;
        HandleNextModal<QFileDialog>([&](QFileDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (edit == nullptr) return dialog.reject();
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
            if (dialog.isVisible()) dialog.reject();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        return;
    }
    ADD_FAILURE() << "no button " << caption;
}

}  // namespace

TEST_F(DiagnosticsTest, TrendPlotsMonitoringWithTheLevelsAndSavesCsvAndPng)
{
    ASSERT_EQ(doc.OnReadFromDevice(), document::CommandOutcome::Done);  // the levels
    QAction* item = MenuItem(QString::fromUtf8("График измерений…"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    auto* trend = window->findChild<diagnostics::TrendWindow*>();
    ASSERT_NE(trend, nullptr);
    EXPECT_TRUE(trend->isVisible());
    EXPECT_TRUE(trend->isWindow());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The user starts monitoring on the Information page; the window stays open.
    window->view()->tabs()->setCurrentIndex(2);
    auto* start = FindControlAs<QPushButton>(window->view()->page(2), kMonitoringButton);
    ASSERT_NE(start, nullptr);
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return trend->history().samples().size() >= 1; }, 20s));
    QTest::mouseClick(start, Qt::LeftButton);  // stop

    const QChart& chart = *trend->chart();
    QLineSeries* value = Series(chart, "Температура сенсора");
    QLineSeries* current = Series(chart, "Аналоговый выход");
    ASSERT_TRUE(value && current);
    ASSERT_GE(value->count(), 1);
    EXPECT_EQ(value->at(0).y(), 25.0);
    EXPECT_EQ(current->at(0).y(), 8.0);
    EXPECT_EQ(AxisTitle(*value, Qt::AlignLeft), QString::fromUtf8("Температура сенсора, °C"));
    EXPECT_EQ(AxisTitle(*current, Qt::AlignRight), QString::fromUtf8("Аналоговый выход, мА"));
    const struct {
        const char* name;
        float level;
    } levels[] = {{"Низкий уровень аварии", doc.lowAlmVal()},
                  {"Высокий уровень аварии", doc.highAlmVal()},
                  {"Нижнее насыщение", doc.lowSatVal()},
                  {"Верхнее насыщение", doc.highSatVal()}};
    for (const auto& level : levels) {
        SCOPED_TRACE(level.name);
        QLineSeries* line = Series(chart, level.name);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->isVisible());
        ASSERT_GE(line->count(), 1);
        EXPECT_EQ(line->at(0).y(), level.level);
        EXPECT_EQ(AxisTitle(*line, Qt::AlignRight), AxisTitle(*current, Qt::AlignRight));
    }

    SaveThroughTheDialog(*trend, "Сохранить CSV…", files.filePath("trend"));
    QFile csv(files.filePath("trend.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().split('\n');
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("time,"));
    EXPECT_EQ(rows[1].split(',').mid(1), (QList<QByteArray>{"25", "°C", "8", "25.00", "ok", "ok"}));

    SaveThroughTheDialog(*trend, "Сохранить PNG…", files.filePath("trend"));
    const QImage picture(files.filePath("trend.png"), "PNG");
    EXPECT_FALSE(picture.isNull());
}

// The trend draws only what was measured: a failed cycle (marked) and a new run of monitoring
// end a line. The levels stay the monitored document's, on the loop current's axis. Empty, the
// chart says how to fill it.
TEST_F(DiagnosticsTest, TrendLinesNeverCrossWhatWasNotMeasured)
{
    QAction* item = MenuItem(QString::fromUtf8("График измерений…"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    auto* trend = window->findChild<diagnostics::TrendWindow*>();
    ASSERT_NE(trend, nullptr);
    QChart& chart = *trend->chart();
    EXPECT_EQ(chart.title(),
              QString::fromUtf8("Измерений нет: запустите мониторинг на странице «Информация»"));

    const QDateTime start = QDateTime::currentDateTime();
    const struct {
        int second;
        bool read;
        bool startsRun;
    } cycles[] = {{0, true, true},   {4, true, false}, {8, false, false}, {12, true, false},
                  {16, true, false}, {60, true, true}, {64, true, false}};
    for (const auto& cycle : cycles) {
        document::LiveSample sample;
        sample.time = start.addSecs(cycle.second);
        sample.read = cycle.read;
        sample.startsRun = cycle.startsRun;
        if (cycle.read) {
            sample.primaryValue = 20.0f + static_cast<float>(cycle.second);
            sample.primaryUnits = 32;
            sample.loopCurrent = 4.0f + static_cast<float>(cycle.second) / 10.0f;
        }
        sample.lowAlarm = 3.5f;
        sample.highAlarm = 21.0f;
        sample.lowSaturation = 3.7f;
        sample.highSaturation = 20.5f;
        emit doc.liveValuesRead(sample);
    }
    EXPECT_TRUE(chart.title().isEmpty());

    // The stretches of each measured line, as seconds from the start.
    const auto stretches = [&](const char* name) {
        std::vector<std::vector<qint64>> found;
        for (QAbstractSeries* series : chart.series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            if (line == nullptr || line->name() != QString::fromUtf8(name) || line->count() == 0)
                continue;
            std::vector<qint64>& seconds = found.emplace_back();
            for (const QPointF& point : line->points())
                seconds.push_back(
                    start.secsTo(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(point.x()))));
        }
        return found;
    };
    const std::vector<std::vector<qint64>> measured = {{0, 4}, {12, 16}, {60, 64}};
    for (const char* name : {"Температура сенсора", "Аналоговый выход"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(stretches(name), measured);
        int entries = 0;
        for (QLegendMarker* marker : chart.legend()->markers())
            entries += marker->isVisible() && marker->label() == QString::fromUtf8(name);
        EXPECT_EQ(entries, 1);
    }
    QXYSeries* failed = nullptr;
    for (QAbstractSeries* series : chart.series())
        if (series->name() == QString::fromUtf8("Сбой цикла"))
            failed = qobject_cast<QXYSeries*>(series);
    ASSERT_NE(failed, nullptr);
    ASSERT_EQ(failed->count(), 1);
    EXPECT_EQ(start.secsTo(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(failed->at(0).x()))),
              8);

    // Another document's levels do not move the lines; each sits on the current's scale.
    doc.setHighAlmVal(22.5f);
    trend->hide();
    trend->show();
    QLineSeries* high = Series(chart, "Высокий уровень аварии");
    QLineSeries* current = Series(chart, "Аналоговый выход");
    ASSERT_TRUE(high && current && high->count() > 0);
    EXPECT_EQ(high->at(0).y(), 21.0);
    const QPointF onLevel(high->at(0).x(), 21.0);
    EXPECT_EQ(chart.mapToPosition(onLevel, high), chart.mapToPosition(onLevel, current));
}
