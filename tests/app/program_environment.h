#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// The environment the desktop program runs in for a test: its settings and data in HOME, its
// port map in HOME/ports, on PLATFORM. With an empty PATH (an absent one means the default)
// the program starts no update-mime-database: that runs detached and would write the data
// folder again after the test has removed it.
inline QProcessEnvironment ProgramEnvironment(const QTemporaryDir& home,
                                              const QString& platform = QStringLiteral("offscreen"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", platform);
    environment.insert("TARVEL4410_PORTS_DIR", home.filePath("ports"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("PATH", QString());
    return environment;
}
