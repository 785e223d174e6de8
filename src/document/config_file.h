#pragma once

#include <QByteArray>

#include "transmitter.h"

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

}  // namespace document
