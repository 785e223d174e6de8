#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace transmitter {

// HART's not-a-number: the float of a value the program does not know and never sends.
constexpr std::uint32_t kNotSetFloatBits = 0x7FA00000;
inline constexpr float kNotSetFloat = std::bit_cast<float>(kNotSetFloatBits);

inline bool IsNotSet(float value) { return std::isnan(value); }
// Failed flag after a refused write: only a value that was sent can have been refused.
inline int FlagIfSet(float value) { return IsNotSet(value) ? 0 : 1; }

constexpr std::int32_t kSensorNotSet = 251;  // sensor type and connection
constexpr std::int32_t kUnitsNotSet = 38;
constexpr std::int32_t kChoiceNotSet = 2;  // alarm direction, line filter, write protection
constexpr std::int32_t kCableEntryNotSet = 256;
constexpr std::int32_t kExecutionNotSet = 33;
constexpr std::int32_t kHeadTypeNotSet = 4;

inline int FlagIfSet(std::int32_t code, std::int32_t notSet) { return code == notSet ? 0 : 1; }

constexpr std::int32_t kUnitCelsius = 32;
constexpr std::int32_t kUnitFahrenheit = 33;
constexpr std::int32_t kUnitRankine = 34;
constexpr std::int32_t kUnitKelvin = 35;
constexpr std::int32_t kUnitMillivolt = 36;
constexpr std::int32_t kUnitOhm = 37;

constexpr int kTagLength = 8;

}  // namespace transmitter
