#pragma once

#include <QStringList>

// The four most recently opened or saved configuration files, newest first, kept in the
// settings as "Recent File List/File1" … "File4".
class RecentFiles {
public:
    static constexpr int kCount = 4;

    void Load();
    void Save() const;
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& files() const { return m_files; }

private:
    QStringList m_files;
};
