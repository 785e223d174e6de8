#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Encoding of HART data fields as the device sends and receives them: numbers most
// significant byte first, floats as IEEE-754 single precision, texts in packed ASCII.
namespace sim {

// The HART "not a number" the device reports for a value it cannot give.
constexpr std::uint32_t kNotANumberBits = 0x7FA00000;
float NotANumber();

void AppendFloat(std::vector<std::uint8_t>& out, float value);
void AppendUnsigned(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t byteCount);
// Packs text (cut or padded with spaces to charCount, a multiple of 4) into 3/4 as many bytes.
void AppendPackedAscii(std::vector<std::uint8_t>& out, const std::string& text,
                       std::size_t charCount);

// Reads request fields in order. Handlers check the length once up front with has() (too few
// bytes is response code 5); a read past the end still yields zeros rather than crashing.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> data);

    bool has(std::size_t byteCount) const;
    std::uint8_t byte();
    std::uint32_t unsignedValue(std::size_t byteCount);
    float floatValue();
    std::string packedAscii(std::size_t charCount);

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

// Packed ASCII turns letters to upper case: its 6-bit alphabet has no lower case.
std::string NormalizeForPackedAscii(const std::string& text, std::size_t charCount);

}  // namespace sim
