#pragma once

#include <cstdint>

namespace hart {

// Wire types of the fields a command's data is made of.
enum FieldType : std::uint8_t {
    FT_BYTE = 0,
    FT_INT16 = 1,
    FT_INT32 = 2,
    FT_FLOAT = 3,
    FT_ASCII8 = 4,
    FT_ASCII16 = 5,
    FT_ASCII32 = 6,
    FT_INT24 = 7,
};

// Bytes a field occupies on the wire; 0 for a code outside the table.
constexpr int FieldWidth(std::uint8_t code)
{
    constexpr int kWidths[] = {1, 2, 4, 4, 6, 12, 24, 3};
    return code < 8 ? kWidths[code] : 0;
}

// Characters of a packed-ASCII field; 0 for the other types.
constexpr int TextLength(std::uint8_t code)
{
    switch (code) {
    case FT_ASCII8: return 8;
    case FT_ASCII16: return 16;
    case FT_ASCII32: return 32;
    default: return 0;
    }
}

}  // namespace hart
