#pragma once

// Frames for the simulator tests, written here from HART's rules rather than taken from the
// simulator (or the program's codec), so that each side checks the other.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

// The default device's long address as the program sends it: 153 & 0x7F, 252, id 0A 1B 2C.
constexpr std::array<std::uint8_t, 5> kDeviceAddress{0x19, 0xFC, 0x0A, 0x1B, 0x2C};

// FF×6, 02, poll address, command, count, data, checksum.
Bytes ShortRequest(std::uint8_t command, std::uint8_t pollAddress = 0, const Bytes& data = {});
// FF×6, 82, five address bytes, command, count, data, checksum.
Bytes LongRequest(std::uint8_t command, const Bytes& data = {},
                  const std::array<std::uint8_t, 5>& address = kDeviceAddress);

struct Answer {
    std::uint8_t delimiter = 0;
    Bytes address;
    std::uint8_t command = 0;
    std::uint8_t byteCount = 0;
    std::uint8_t responseCode = 0;
    std::uint8_t deviceStatus = 0;
    Bytes data;
    bool checksumOk = false;
    std::size_t preambles = 0;
};

// Every frame in the bytes, in order. A frame that does not parse ends the list.
std::vector<Answer> SplitAnswers(const Bytes& bytes);

Bytes Float(float value);
Bytes Concat(std::initializer_list<Bytes> parts);
float FloatAt(const Bytes& bytes, std::size_t offset);
std::uint32_t BitsAt(const Bytes& bytes, std::size_t offset);
std::uint32_t UnsignedAt(const Bytes& bytes, std::size_t offset, std::size_t count);

// HART packed ASCII: 4 characters of 6 bits in 3 bytes; no upper-casing here.
Bytes Pack(const std::string& text, std::size_t charCount);
std::string Unpack(const Bytes& bytes, std::size_t offset, std::size_t charCount);

}  // namespace simtest
