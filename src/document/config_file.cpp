#include "config_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include <bit>
#include <cerrno>

namespace document {
namespace {

using transmitter::CTransmitter;

class RecordWriter {
public:
    void u32(std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) m_bytes.append(static_cast<char>(value >> (8 * i)));
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }
    void byte(std::uint8_t value) { m_bytes.append(static_cast<char>(value)); }
    void char16(char16_t value)
    {
        byte(static_cast<std::uint8_t>(value));
        byte(static_cast<std::uint8_t>(value >> 8));
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes) : m_bytes(bytes) {}
    std::uint32_t u32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{byte()} << (8 * i);
        return value;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() { return std::bit_cast<float>(u32()); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(m_bytes[m_position++]); }
    char16_t char16()
    {
        const std::uint8_t low = byte();
        return static_cast<char16_t>(low | byte() << 8);
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_position = 0;
};

// The fields after the tag, in file order; one list serves both directions.
template <typename Values, typename Visit>
void VisitSettings(Values& t, Visit&& visit)
{
    visit.i32(t.sensorType);
    visit.i32(t.sensorConnection);
    visit.units(t.rangeUnits, t.sensorLimitUnits);
    visit.f32(t.lowerRangeValue);
    visit.f32(t.upperRangeValue);
    visit.f32(t.damping);
    visit.i32(t.alarmSelect);
    visit.f32(t.lowAlmVal);
    visit.f32(t.highAlmVal);
    visit.f32(t.lowSatVal);
    visit.f32(t.highSatVal);
    visit.i32(t.lineFilter);
    visit.i32(t.writeProtect);
    visit.byte(t.armatureLetter);
    visit.byte(t.armatureNumber);
    visit.i32(t.headType);
    visit.i32(t.cableEntry);
    visit.i32(t.execution);
    visit.u32(t.mountingLength);
    visit.byte(t.finalAsmDay);
    visit.byte(t.finalAsmMonth);
    visit.byte(t.finalAsmYear);
    visit.u32(t.thermometerSerial);
}

struct Store {
    RecordWriter& out;
    void i32(std::int32_t v) { out.i32(v); }
    void u32(std::int32_t v) { out.u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { out.f32(v); }
    void byte(std::uint8_t v) { out.byte(v); }
    void units(std::int32_t range, std::int32_t) { out.i32(range); }
};

struct Load {
    RecordReader& in;
    void i32(std::int32_t& v) { v = in.i32(); }
    void u32(std::int32_t& v) { v = static_cast<std::int32_t>(in.u32()); }
    void f32(float& v) { v = in.f32(); }
    void byte(std::uint8_t& v) { v = in.byte(); }
    // The file has one units field: it is both the range's and the limits' unit.
    void units(std::int32_t& range, std::int32_t& limits) { range = limits = in.i32(); }
};

}  // namespace

QByteArray StoreConfiguration(const CTransmitter& values)
{
    RecordWriter out;
    out.u32(kConfigMagic);
    out.i32(kConfigVersion);
    for (char16_t ch : values.tag) out.char16(ch);
    VisitSettings(values, Store{out});
    return out.bytes();
}

LoadStatus LoadConfiguration(const QByteArray& bytes, CTransmitter& values)
{
    RecordReader in(bytes);
    if (bytes.size() < 4 || in.u32() != kConfigMagic) return LoadStatus::WrongFormat;
    if (bytes.size() < 8) return LoadStatus::WrongFormat;
    if (in.i32() != kConfigVersion) return LoadStatus::WrongVersion;
    if (bytes.size() < kConfigRecordSize) return LoadStatus::WrongFormat;

    for (char16_t& ch : values.tag) ch = in.char16();
    // Whatever the file holds, the tag stays terminated.
    values.tag[transmitter::kTagLength] = 0;
    VisitSettings(values, Load{in});
    return LoadStatus::Loaded;
}

std::optional<QByteArray> ReadConfigurationFile(const QString& path)
{
    // Non-blocking, so a named pipe without a writer does not hold the open; the type is
    // checked on the opened file, not on the name, so it cannot change in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        QByteArray buffer(kConfigRecordSize + 1, Qt::Uninitialized);
        qsizetype length = 0;
        ssize_t n = 0;
        do {
            n = ::read(fd, buffer.data() + length, static_cast<size_t>(buffer.size() - length));
            if (n > 0) length += n;
        } while ((n > 0 && length < buffer.size()) || (n < 0 && errno == EINTR));
        if (n >= 0) bytes = buffer.left(length);
    }
    ::close(fd);
    return bytes;
}

}  // namespace document
