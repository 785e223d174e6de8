#include "document/csv_log.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <QFile>

#include "document/display_text.h"
#include "document/whole_file.h"
#include "hart/output_file.h"

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

CsvLog::~CsvLog() = default;

bool CsvLog::Create(const QString& path)
{
    std::string error;
    auto output = path == QStringLiteral("-")
                      ? hart::OutputStream::Standard(STDOUT_FILENO)
                      : hart::OutputStream::Open(QFile::encodeName(path).toStdString(), error);
    const QByteArray header = CsvHeader();
    if (!output || !output->Write(header.toStdString(), error)) {
        m_error = FailedToWrite(path, QString::fromLocal8Bit(error.c_str()));
        return false;
    }
    m_path = path;
    m_output = std::move(output);
    return true;
}

bool CsvLog::TakeName()
{
    std::string error;
    if (!m_output->TakeName(error)) {
        m_error = FailedToWrite(m_path, QString::fromLocal8Bit(error.c_str()));
        return false;
    }
    m_named = true;
    return true;
}

bool CsvLog::Append(const LiveSample& sample)
{
    if (!m_output || (!m_named && !TakeName())) return false;
    std::string error;
    if (m_output->Write(CsvRow(sample).toStdString(), error)) return true;
    m_error = FailedToWrite(m_path, QString::fromLocal8Bit(error.c_str()));
    return false;
}

bool WriteCsv(const QString& path, const std::vector<LiveSample>& samples, QString* error)
{
    QByteArray text = CsvHeader();
    for (const LiveSample& sample : samples) text += CsvRow(sample);
    const QString why = WriteWholeFile(path, text);
    if (why.isEmpty()) return true;
    if (error) *error = FailedToWrite(path, why);
    return false;
}

}  // namespace document
