#pragma once

#include <cstdint>
#include <span>
#include <utility>

namespace transmitter {

// One input the transmitter accepts, as the sensor lists show it. Temperature limits are
// in °C; the electrical limits are in the row's electrical unit (ohm or millivolt).
struct SensorRow {
    int index;              // position in the sensor list; 0 is the empty entry
    std::int32_t typeCode;  // HART sensor type code
    int nameStringId;
    bool hasTemperatureLimits;
    float lowerCelsius;
    float upperCelsius;
    std::int32_t electricalUnit;
    float electricalLower;
    float electricalUpper;
};

constexpr int kSensorRowCount = 21;

// The 21 inputs in list order (indices 1–21).
std::span<const SensorRow, kSensorRowCount> SensorTable();

// 251 for an index without a row (0 among them).
std::int32_t SensorCodeFromIndex(int index);
// 251 for a code without a row (251 among them).
int SensorIndexFromCode(std::int32_t code);

// Lower and upper limit of a sensor in a unit; either may be the not-set float.
std::pair<float, float> SensorLimits(int index, std::int32_t unitCode);

}  // namespace transmitter
