#include "simulator/wire_format.h"

#include <bit>

namespace sim {

float NotANumber() { return std::bit_cast<float>(kNotANumberBits); }

void AppendUnsigned(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t byteCount)
{
    for (std::size_t i = byteCount; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendFloat(std::vector<std::uint8_t>& out, float value)
{
    AppendUnsigned(out, std::bit_cast<std::uint32_t>(value), 4);
}

namespace {

std::uint8_t SixBitCode(char c)
{
    return static_cast<std::uint8_t>(static_cast<unsigned char>(c) & 0x3F);
}

char CharacterFromSixBits(std::uint8_t code)
{
    return static_cast<char>(code < 32 ? code + 64 : code);
}

}  // namespace

std::string NormalizeForPackedAscii(const std::string& text, std::size_t charCount)
{
    std::string result;
    for (std::size_t i = 0; i < charCount; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        result.push_back(CharacterFromSixBits(SixBitCode(c >= 'a' && c <= 'z' ? c - 32 : c)));
    }
    return result;
}

void AppendPackedAscii(std::vector<std::uint8_t>& out, const std::string& text,
                       std::size_t charCount)
{
    const std::string chars = NormalizeForPackedAscii(text, charCount);
    for (std::size_t i = 0; i + 3 < chars.size(); i += 4) {
        const std::uint32_t group = (SixBitCode(chars[i]) << 18) |
                                    (SixBitCode(chars[i + 1]) << 12) |
                                    (SixBitCode(chars[i + 2]) << 6) | SixBitCode(chars[i + 3]);
        AppendUnsigned(out, group, 3);
    }
}

FieldReader::FieldReader(std::span<const std::uint8_t> data) : m_data(data) {}

bool FieldReader::has(std::size_t byteCount) const
{
    return m_position + byteCount <= m_data.size();
}

std::uint8_t FieldReader::byte() { return static_cast<std::uint8_t>(unsignedValue(1)); }

std::uint32_t FieldReader::unsignedValue(std::size_t byteCount)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < byteCount; ++i, ++m_position)
        value = (value << 8) | (m_position < m_data.size() ? m_data[m_position] : 0);
    return value;
}

float FieldReader::floatValue() { return std::bit_cast<float>(unsignedValue(4)); }

std::string FieldReader::packedAscii(std::size_t charCount)
{
    std::string text;
    for (std::size_t i = 0; i < charCount; i += 4) {
        const std::uint32_t group = unsignedValue(3);
        for (int shift = 18; shift >= 0; shift -= 6)
            text.push_back(
                CharacterFromSixBits(static_cast<std::uint8_t>((group >> shift) & 0x3F)));
    }
    return text;
}

}  // namespace sim
