#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace transmitter {

// HART's not-a-number: the float of a value the program does not know and never sends.
inline const float kNotSetFloat = std::bit_cast<float>(std::uint32_t{0x7FA00000});
constexpr std::uint32_t kNotSetFloatBits = 0x7FA00000;

inline bool IsNotSet(float value) { return std::isnan(value); }

constexpr std::int32_t kSensorNotSet = 251;      // sensor type and connection
constexpr std::int32_t kUnitsNotSet = 38;
constexpr std::int32_t kChoiceNotSet = 2;        // alarm direction, line filter, write protection
constexpr std::int32_t kCableEntryNotSet = 256;
constexpr std::int32_t kExecutionNotSet = 33;
constexpr std::int32_t kHeadTypeNotSet = 4;

constexpr std::int32_t kUnitCelsius = 32;
constexpr std::int32_t kUnitFahrenheit = 33;
constexpr std::int32_t kUnitRankine = 34;
constexpr std::int32_t kUnitKelvin = 35;
constexpr std::int32_t kUnitMillivolt = 36;
constexpr std::int32_t kUnitOhm = 37;

constexpr int kTagLength = 8;

}  // namespace transmitter
