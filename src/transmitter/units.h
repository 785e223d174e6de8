#pragma once

#include <cstdint>
#include <string_view>

namespace transmitter {

// "°C", "°F", "°R", "°K", "мВ" or "Ом" for the codes 32–37; empty for any other code.
std::string_view UnitSymbol(std::int32_t unitCode);

// Converts a °C value to a temperature unit (32–35) in single precision: the product
// is rounded to a float before the offset is added. Not set for any other unit.
float CelsiusToUnit(float celsius, std::int32_t unitCode);

// The calibration units list offers the six units in code order without an empty entry.
constexpr int kCalibrationUnitCount = 6;
std::int32_t CalibrationUnitFromListIndex(int listIndex);
int CalibrationListIndexFromUnit(std::int32_t unitCode);

}  // namespace transmitter
