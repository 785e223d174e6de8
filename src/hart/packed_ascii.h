#pragma once

#include <cstdint>

namespace hart {

// HART packed ASCII: four 6-bit characters in three bytes. N is 8, 16 or 32.
// Writes N characters (spaces after the text's end) at dest[position] and advances
// position by 3N/4.
void PackAscii(const char* text, int count, std::uint8_t* dest, int& position);

// Reads 3N/4 bytes at source[position], advances position, writes N characters and a NUL
// into text (room for N+1). Nothing is trimmed.
void UnpackAscii(const std::uint8_t* source, int& position, int count, char* text);

}  // namespace hart
