#include "document/csv_log.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include "document/display_text.h"

namespace document {
namespace {

constexpr int kPercentDecimals = 2;
constexpr int kSecondsPerMinute = 60;

// The shortest text that reads back as the same float: the value as the transmitter sent
// it. to_chars never uses the locale.
QByteArray Number(float value)
{
    if (!std::isfinite(value)) return {};
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), value);
    return QByteArray(text, static_cast<int>(result.ptr - text));
}

QByteArray Fixed(float value, int decimals)
{
    if (!std::isfinite(value)) return {};
    char text[32];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, decimals);
    return QByteArray(text, static_cast<int>(result.ptr - text));
}

QByteArray Status(bool fault) { return fault ? "fault" : "ok"; }

}  // namespace

QString FailedToWrite(const QString& path, const QString& why)
{
    return QStringLiteral("Failed to write \"%1\": %2").arg(path, why);
}

QByteArray IsoLocalTime(const QDateTime& time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / kSecondsPerMinute;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+',
                  minutes / kSecondsPerMinute, minutes % kSecondsPerMinute);
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + zone;
}

QByteArray CsvHeader()
{
    return "time,primary_variable,unit,loop_current_mA,percent_of_range,sensor_status,"
           "transmitter_status\n";
}

QByteArray CsvRow(const LiveSample& sample)
{
    QByteArray row = IsoLocalTime(sample.time);
    if (!sample.read) return row + ",,,,,,\n";
    const QList<QByteArray> fields = {
        Number(sample.primaryValue), UnitText(sample.primaryUnits).toUtf8(),
        Number(sample.loopCurrent),  Fixed(PercentOfRange(sample.loopCurrent), kPercentDecimals),
        Status(sample.sensorFault),  Status(sample.xmtrFault),
    };
    for (const QByteArray& field : fields) row += ',' + field;
    return row + '\n';
}

CsvLog::CsvLog() = default;

CsvLog::~CsvLog()
{
    if (m_file && !m_named) m_file->remove();
}

bool CsvLog::Create(const QString& path)
{
    const QFileInfo target(path);
    auto file = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                 target.fileName() + QStringLiteral(".XXXXXX"));
    file->setAutoRemove(false);
    if (!file->open()) {
        m_error = FailedToWrite(path, file->errorString());
        return false;
    }
    const QByteArray header = CsvHeader();
    if (file->write(header) != header.size() || !file->flush()) {
        m_error = FailedToWrite(path, file->errorString());
        file->remove();
        return false;
    }
    // The new file may be read as the old one was; a new name gets the usual rights.
    file->setPermissions(target.exists() ? QFile::permissions(path)
                                         : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_path = path;
    m_file = std::move(file);
    return true;
}

bool CsvLog::TakeName()
{
    // The system call replaces a file of that name in one step; the open descriptor goes on
    // writing into the renamed file.
    if (std::rename(QFile::encodeName(m_file->fileName()).constData(),
                    QFile::encodeName(m_path).constData()) != 0) {
        m_error = FailedToWrite(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_named = true;
    return true;
}

bool CsvLog::Append(const LiveSample& sample)
{
    if (!m_file || (!m_named && !TakeName())) return false;
    const QByteArray row = CsvRow(sample);
    if (m_file->write(row) == row.size() && m_file->flush()) return true;
    m_error = FailedToWrite(m_path, m_file->errorString());
    return false;
}

bool WriteCsv(const QString& path, const std::vector<LiveSample>& samples, QString* error)
{
    QByteArray text = CsvHeader();
    for (const LiveSample& sample : samples) text += CsvRow(sample);
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(text) == text.size();
    if (!written) file.cancelWriting();
    if (written && file.commit()) return true;
    if (error) *error = FailedToWrite(path, file.errorString());
    return false;
}

}  // namespace document
