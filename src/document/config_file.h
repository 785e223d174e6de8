#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "transmitter/transmitter.h"

namespace document {

// The .4410 file: a 103-byte little-endian record of the settings a user edits and sends.
constexpr std::uint32_t kConfigMagic = 0x54689251;
constexpr std::int32_t kConfigVersion = 322;
constexpr int kConfigRecordSize = 103;

QByteArray StoreConfiguration(const transmitter::CTransmitter& values);

enum class LoadStatus { Loaded, WrongFormat, WrongVersion };

// Fills the values from the record; bytes after the record are ignored. Nothing is changed
// unless the whole record is there and carries the right magic number and version.
LoadStatus LoadConfiguration(const QByteArray& bytes, transmitter::CTransmitter& values);

// The first bytes of a regular file: the record and one more, never the rest, so a huge file
// costs no more than a small one. Anything that is not a regular file (a device, a pipe, a
// folder) or cannot be opened or read gives nothing; opening never waits for a writer.
std::optional<QByteArray> ReadConfigurationFile(const QString& path);

}  // namespace document
