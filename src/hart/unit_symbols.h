#pragma once

#include <cstdint>
#include <string_view>

namespace hart {

// The unit code of the loop current.
constexpr std::int32_t kMilliampere = 39;

// The symbol shown for a HART engineering unit code the transmitter uses: 32–37 (°C, °F,
// °R, K, mV, Ω), 39 (mA) and 51 (s); empty for any other code.
std::string_view UnitSymbol(std::int32_t unitCode);

}  // namespace hart
