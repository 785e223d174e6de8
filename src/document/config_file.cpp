#include "document/config_file.h"

#include <bit>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <variant>

#include <QFile>

#include "document/parameter_table.h"

namespace document {
namespace {

using transmitter::CTransmitter;

constexpr int kHeaderSize = 8;  // magic and version

void PutLittleEndian(QByteArray& record, int offset, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) record[offset + i] = static_cast<char>(value >> (8 * i));
}

std::uint32_t LittleEndianAt(const QByteArray& record, int offset, int width)
{
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= std::uint32_t{static_cast<std::uint8_t>(record[offset + i])} << (8 * i);
    return value;
}

template <typename V>
std::uint32_t BitsOf(V value)
{
    if constexpr (std::is_same_v<V, float>)
        return std::bit_cast<std::uint32_t>(value);
    else
        return static_cast<std::uint32_t>(value);
}

template <typename V>
V FromBits(std::uint32_t bits)
{
    if constexpr (std::is_same_v<V, float>)
        return std::bit_cast<float>(bits);
    else
        return static_cast<V>(bits);
}

// Every byte after the header belongs to exactly one filed parameter.
consteval bool FieldsTileTheRecord()
{
    int owners[kConfigRecordSize] = {};
    for (const Parameter& parameter : kParameters)
        if (parameter.fileOffset != kNotInFile)
            for (int i = 0; i < FileWidth(parameter); ++i) ++owners[parameter.fileOffset + i];
    for (int i = 0; i < kConfigRecordSize; ++i)
        if (owners[i] != (i < kHeaderSize ? 0 : 1)) return false;
    return true;
}
static_assert(FieldsTileTheRecord());

}  // namespace

QByteArray StoreConfiguration(const CTransmitter& values)
{
    QByteArray record(kConfigRecordSize, '\0');
    PutLittleEndian(record, 0, kConfigMagic, 4);
    PutLittleEndian(record, 4, static_cast<std::uint32_t>(kConfigVersion), 4);
    for (const Parameter& parameter : kParameters) {
        if (parameter.fileOffset == kNotInFile) continue;
        const int offset = parameter.fileOffset;
        std::visit(
            [&](const auto& field) {
                if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>) {
                    for (int i = 0; i <= transmitter::kTagLength; ++i)
                        PutLittleEndian(record, offset + 2 * i, (values.*field.member)[i], 2);
                } else {
                    PutLittleEndian(record, offset, BitsOf(values.*field.member),
                                    FileWidth(parameter));
                }
            },
            parameter.value);
    }
    return record;
}

LoadStatus LoadConfiguration(const QByteArray& bytes, CTransmitter& values)
{
    if (bytes.size() < 4 || LittleEndianAt(bytes, 0, 4) != kConfigMagic)
        return LoadStatus::WrongFormat;
    if (bytes.size() < kHeaderSize) return LoadStatus::WrongFormat;
    if (static_cast<std::int32_t>(LittleEndianAt(bytes, 4, 4)) != kConfigVersion)
        return LoadStatus::WrongVersion;
    if (bytes.size() < kConfigRecordSize) return LoadStatus::WrongFormat;

    for (const Parameter& parameter : kParameters) {
        if (parameter.fileOffset == kNotInFile) continue;
        const int offset = parameter.fileOffset;
        std::visit(
            [&](const auto& field) {
                if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>) {
                    for (int i = 0; i <= transmitter::kTagLength; ++i)
                        (values.*field.member)[i] =
                            static_cast<char16_t>(LittleEndianAt(bytes, offset + 2 * i, 2));
                } else {
                    using V = std::decay_t<decltype(*field.notSet)>;
                    values.*field.member =
                        FromBits<V>(LittleEndianAt(bytes, offset, FileWidth(parameter)));
                }
            },
            parameter.value);
    }
    // Whatever the file holds, the tag stays terminated.
    values.tag[transmitter::kTagLength] = 0;
    // The file has one units field: it is both the range's and the limits' unit.
    values.sensorLimitUnits = values.rangeUnits;
    return LoadStatus::Loaded;
}

std::optional<QByteArray> ReadConfigurationFile(const QString& path)
{
    // Non-blocking, so a named pipe without a writer does not hold the open; the type is
    // checked on the opened file, not on the name, so it cannot change in between.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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
