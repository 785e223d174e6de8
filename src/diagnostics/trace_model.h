#pragma once

#include <chrono>
#include <deque>
#include <vector>

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include "hart/trace.h"

namespace diagnostics {

// One event as the trace window shows it.
struct TraceRow {
    QString time;
    QChar direction;
    QString command;
    QString status;
    QString bytes;
    QString meaning;
    QStringList details;  // every field of a frame, one per line
    QString line;         // the event in the trace's text format
};

// The last kCapacity events of a session, oldest first: an older event leaves when a new one
// comes, so the memory stays bounded however long monitoring runs.
class TraceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kCapacity = 10000;
    enum Column { kTime, kDirection, kCommand, kStatus, kBytes, kMeaning, kColumnCount };

    explicit TraceModel(std::chrono::steady_clock::time_point start, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void append(const std::vector<hart::TraceEvent>& events);
    void clear();
    const TraceRow& row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }
    std::chrono::steady_clock::time_point start() const { return m_start; }

private:
    TraceRow describe(const hart::TraceEvent& event) const;

    std::chrono::steady_clock::time_point m_start;
    std::deque<TraceRow> m_rows;
};

}  // namespace diagnostics
