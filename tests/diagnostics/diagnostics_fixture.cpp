#include "diagnostics/diagnostics_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

DiagnosticsTest::DiagnosticsTest()
{
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    StartTransmitter();
    window = std::make_unique<CVeskPcMainWin>(doc);
    window->show();
}

DiagnosticsTest::~DiagnosticsTest() = default;

QAction* DiagnosticsTest::MenuItem(const QString& caption) const
{
    QList<QAction*> found;
    for (const QAction* menu : window->menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text().remove('&') == caption) found << item;
    return found.size() == 1 ? found.first() : nullptr;
}

QString DiagnosticsTest::DeviceConfigurationFile(const QString& name)
{
    ScriptedUser reader;
    document::CVeskDoc device(reader, ports, sleeper);
    device.OnNewDocument();
    EXPECT_EQ(device.OnReadFromDevice(), document::CommandOutcome::Done);
    const QString path = files.filePath(name);
    EXPECT_TRUE(device.OnSaveDocument(path));
    return path;
}
