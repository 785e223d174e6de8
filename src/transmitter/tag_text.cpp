#include "transmitter/tag_text.h"

namespace transmitter {
namespace {

constexpr char16_t kLastAscii = 0x7F;

}  // namespace

void WidenTag(const NarrowTag& narrow, WideTag& wide)
{
    int i = 0;
    for (; i < kTagLength && narrow[i] != '\0'; ++i)
        wide[i] = static_cast<unsigned char>(narrow[i]);
    for (; i <= kTagLength; ++i) wide[i] = u'\0';
}

NarrowTag NarrowTagOf(const WideTag& wide)
{
    NarrowTag narrow{};
    for (int i = 0; i < kTagLength && wide[i] != u'\0'; ++i)
        narrow[i] = wide[i] <= kLastAscii ? static_cast<char>(wide[i]) : '?';
    return narrow;
}

}  // namespace transmitter
