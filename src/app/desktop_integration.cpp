#include "app/desktop_integration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

QByteArray Resource(const QString& name)
{
    QFile file(QStringLiteral(":/desktop/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool HoldsAlready(const QString& path, const QByteArray& contents)
{
    QFile existing(path);
    return existing.open(QIODevice::ReadOnly) && existing.readAll() == contents;
}

bool Write(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

}  // namespace

QString DesktopIntegration::DefaultDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool DesktopIntegration::Refresh(const QString& dataHome, const QString& executable)
{
    // The files are compiled into a static library: register them before the first use.
    Q_INIT_RESOURCE(desktop);
    QByteArray desktop = Resource(QStringLiteral("tarvel4410-config.desktop"));
    // The entry starts this very program, wherever it was built or installed.
    desktop.replace("Exec=tarvel4410-config", "Exec=\"" + executable.toUtf8() + "\"");
    const QString mimeDir = dataHome + QStringLiteral("/mime");

    const struct {
        QString path;
        QByteArray contents;
    } files[] = {
        {dataHome + QStringLiteral("/applications/tarvel4410-config.desktop"), desktop},
        {mimeDir + QStringLiteral("/packages/tarvel4410-mime.xml"),
         Resource(QStringLiteral("tarvel4410-mime.xml"))},
        {dataHome + QStringLiteral("/icons/hicolor/scalable/apps/tarvel4410-config.svg"),
         Resource(QStringLiteral("tarvel4410-config.svg"))},
    };
    bool ok = true;
    bool mimeChanged = false;
    for (const auto& file : files) {
        if (file.contents.isEmpty()) {
            ok = false;
            continue;
        }
        if (HoldsAlready(file.path, file.contents)) continue;
        ok = Write(file.path, file.contents) && ok;
        if (file.path.startsWith(mimeDir)) mimeChanged = true;
    }
    // The desktop reads types from the compiled database; rebuild it only when ours changed.
    if (mimeChanged &&
        !QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        QProcess::startDetached(QStringLiteral("update-mime-database"), {mimeDir});
    return ok;
}
