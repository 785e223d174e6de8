#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>

#include "document/live_sample.h"

namespace hart {
class OutputStream;
}

namespace document {

// The monitoring record as CSV: a header line, then one row per cycle with the time
// (ISO 8601, local time with its offset), the measured value, its unit symbol, the loop
// current in mA, the percent of range, the sensor status and the transmitter status ("ok"
// or "fault"). Numbers carry a '.' whatever the locale. A cycle that failed to read leaves
// every field but the time empty; so does a value the transmitter reports as not a number.
QByteArray CsvHeader();
QByteArray CsvRow(const LiveSample& sample);
// "2026-03-15T14:05:09+03:00"
QByteArray IsoLocalTime(const QDateTime& time);

// A record written while monitoring runs: each row reaches the file when it is appended, whole
// or not at all, so the file always ends with a complete row. The file is made beside the
// name with its header, and takes the name (replacing a file there) with its first row:
// monitoring that never ran a cycle leaves an old file as it was. "-" is standard output;
// a pipe or a FIFO is written as it is and needs a reader.
class CsvLog {
public:
    CsvLog();
    ~CsvLog();
    CsvLog(const CsvLog&) = delete;
    CsvLog& operator=(const CsvLog&) = delete;

    // False, with errorString() saying why, when the file cannot be made.
    bool Create(const QString& path);
    bool Append(const LiveSample& sample);
    const QString& errorString() const { return m_error; }

private:
    bool TakeName();

    std::unique_ptr<hart::OutputStream> m_output;
    QString m_path;
    bool m_named = false;
    QString m_error;
};

// "Failed to write "path": why", for any file the record or the trend writes.
QString FailedToWrite(const QString& path, const QString& why);

// The samples in one go, replacing the file whole.
bool WriteCsv(const QString& path, const std::vector<LiveSample>& samples, QString* error);

}  // namespace document
