#pragma once

#include <array>

#include "transmitter/parameter_values.h"

namespace transmitter {

using WideTag = char16_t[kTagLength + 1];
// The 8-bit form the codec packs and unpacks: up to 8 characters and a NUL.
using NarrowTag = std::array<char, kTagLength + 1>;

// Character by character, at most 8, always NUL-terminated.
void WidenTag(const NarrowTag& narrow, WideTag& wide);
// Characters outside ASCII cannot travel in packed ASCII; they become '?'.
NarrowTag NarrowTagOf(const WideTag& wide);

}  // namespace transmitter
