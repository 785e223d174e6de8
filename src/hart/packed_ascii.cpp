#include "hart/packed_ascii.h"

namespace hart {

void PackAscii(const char* text, int count, std::uint8_t* dest, int& position)
{
    bool ended = text == nullptr;
    std::uint8_t codes[4];
    for (int i = 0; i < count; ++i) {
        unsigned char ch = ' ';
        if (!ended) {
            ch = static_cast<unsigned char>(text[i]);
            if (ch == 0) {
                ended = true;
                ch = ' ';
            }
        }
        if (ch >= 64 && ch <= 95) ch -= 64;
        codes[i % 4] = ch & 0x3F;
        if (i % 4 == 3) {
            dest[position++] = static_cast<std::uint8_t>(codes[0] << 2 | codes[1] >> 4);
            dest[position++] = static_cast<std::uint8_t>((codes[1] & 0x0F) << 4 | codes[2] >> 2);
            dest[position++] = static_cast<std::uint8_t>((codes[2] & 0x03) << 6 | codes[3]);
        }
    }
}

void UnpackAscii(const std::uint8_t* source, int& position, int count, char* text)
{
    auto toChar = [](unsigned code) { return static_cast<char>(code < 32 ? code + 64 : code); };
    for (int i = 0; i < count; i += 4) {
        const std::uint8_t b0 = source[position++];
        const std::uint8_t b1 = source[position++];
        const std::uint8_t b2 = source[position++];
        text[i] = toChar(b0 >> 2);
        text[i + 1] = toChar((b0 & 0x03) << 4 | b1 >> 4);
        text[i + 2] = toChar((b1 & 0x0F) << 2 | b2 >> 6);
        text[i + 3] = toChar(b2 & 0x3F);
    }
    text[count] = '\0';
}

}  // namespace hart
