#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include "document/app_settings.h"

void RecentFiles::Load()
{
    QSettings settings = document::AppSettings::Store();
    m_files.clear();
    for (int i = 1; i <= kCount; ++i) {
        const QString file =
            settings.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
        if (!file.isEmpty()) m_files << file;
    }
}

void RecentFiles::Save() const
{
    QSettings settings = document::AppSettings::Store();
    settings.remove(QStringLiteral("Recent File List"));
    for (int i = 0; i < m_files.size(); ++i)
        settings.setValue(QStringLiteral("Recent File List/File%1").arg(i + 1), m_files[i]);
}

void RecentFiles::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > kCount) m_files.removeLast();
}

void RecentFiles::Remove(const QString& path) { m_files.removeAll(path); }
