#include "transmitter/units.h"

#include <bit>

#include "hart/unit_symbols.h"
#include "transmitter/parameter_values.h"

namespace transmitter {
namespace {

struct Conversion {
    float factor;
    float offset;
};

// Single-precision constants, given by their bits: the Rankine offset is deliberately
// 491.66998, the float nearest to the value the transmitter itself uses.
constexpr float kOne = 1.0f;
constexpr float kNineFifths = std::bit_cast<float>(std::uint32_t{0x3FE66666});
constexpr float kFahrenheitOffset = 32.0f;
constexpr float kRankineOffset = std::bit_cast<float>(std::uint32_t{0x43F5D5C2});
constexpr float kKelvinOffset = std::bit_cast<float>(std::uint32_t{0x43889333});

constexpr Conversion kConversions[] = {
    {kOne, 0.0f},                      // 32 °C
    {kNineFifths, kFahrenheitOffset},  // 33 °F
    {kNineFifths, kRankineOffset},     // 34 °R
    {kOne, kKelvinOffset},             // 35 K
};

bool HasSymbol(std::int32_t unitCode) { return unitCode >= kUnitCelsius && unitCode <= kUnitOhm; }

}  // namespace

std::string_view UnitSymbol(std::int32_t unitCode)
{
    if (!HasSymbol(unitCode)) return {};
    return hart::UnitSymbol(unitCode);
}

float CelsiusToUnit(float celsius, std::int32_t unitCode)
{
    if (unitCode < kUnitCelsius || unitCode > kUnitKelvin) return kNotSetFloat;
    const Conversion& conversion = kConversions[unitCode - kUnitCelsius];
    // Stored before the addition so that no fused multiply-add skips the rounding.
    volatile float product = celsius * conversion.factor;
    const float sum = product + conversion.offset;
    return sum;
}

std::int32_t CalibrationUnitFromListIndex(int listIndex)
{
    if (listIndex < 0 || listIndex >= kCalibrationUnitCount) return kUnitsNotSet;
    return kUnitCelsius + listIndex;
}

int CalibrationListIndexFromUnit(std::int32_t unitCode) { return unitCode - kUnitCelsius; }

}  // namespace transmitter
