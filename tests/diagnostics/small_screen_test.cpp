// The windows the main window's menu opens, on a 640×400 screen: inside its available area,
// with every control within reach.
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "diagnostics/diagnostics_fixture.h"
#include "diagnostics/trace_window.h"
#include "diagnostics/trend_window.h"

TEST_F(DiagnosticsTest, TraceAndTrendWindowsFitASmallScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(available.size(), QSize(640, 400));
    const struct {
        const char* item;
        std::function<QWidget*()> opened;
    } windows[] = {
        {"Журнал обмена…", [&] { return static_cast<QWidget*>(window->traceWindow()); }},
        {"График измерений…",
         [&] { return static_cast<QWidget*>(window->findChild<diagnostics::TrendWindow*>()); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.item);
        QAction* item = MenuItem(QString::fromUtf8(w.item));
        ASSERT_NE(item, nullptr);
        item->trigger();
        QWidget* opened = w.opened();
        ASSERT_NE(opened, nullptr);
        ASSERT_TRUE(opened->isVisible());
        EXPECT_TRUE(available.contains(opened->frameGeometry()))
            << opened->frameGeometry().x() << "," << opened->frameGeometry().y() << " "
            << opened->frameGeometry().width() << "x" << opened->frameGeometry().height();
        // The window's buttons and check boxes (not the table's own corner button).
        QList<QAbstractButton*> controls;
        for (QAbstractButton* control : opened->findChildren<QAbstractButton*>())
            if (control->inherits("QPushButton") || control->inherits("QCheckBox"))
                controls << control;
        EXPECT_FALSE(controls.isEmpty());
        for (const QAbstractButton* control : controls) {
            const QRect place(control->mapTo(opened, QPoint(0, 0)), control->size());
            EXPECT_TRUE(control->isVisible() && opened->rect().contains(place))
                << control->text().toStdString();
        }
    }
}

// The screen is the offscreen platform's, sized by its configuration file.
int main(int argc, char** argv)
{
    QTemporaryDir folder;
    const QString configuration = folder.filePath(QStringLiteral("screen.json"));
    QFile file(configuration);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 640, "height": 400,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configuration.toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
