#include "transmitter/range_limits.h"

#include <bit>
#include <cstdint>

namespace transmitter {
namespace {

constexpr float kLimitTolerance = std::bit_cast<float>(std::uint32_t{0x3BA3D70A});

}  // namespace

float LimitTolerance() { return kLimitTolerance; }

// Values inside the limits are sent as entered; a not-set value or limit fails every
// comparison and so stays as it is.
float SnapLowerOntoLimit(float value, float lowerLimit)
{
    if (!(value < lowerLimit)) return value;
    const float excess = lowerLimit - value;
    return excess <= kLimitTolerance ? lowerLimit : value;
}

float SnapUpperOntoLimit(float value, float upperLimit)
{
    if (!(value > upperLimit)) return value;
    const float excess = value - upperLimit;
    return excess <= kLimitTolerance ? upperLimit : value;
}

}  // namespace transmitter
