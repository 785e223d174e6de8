#pragma once

#include <cstdint>

#include "simulator/sensor_catalog.h"

namespace sim {

struct Limits {
    float lower;
    float upper;
};

// Converts a sensor's values between its natural unit (°C for thermometers, mV or ohm for
// the electrical inputs) and the units it may be configured in. The electrical value of a
// thermometer follows its standard curve (sensor_curves); its limits stay the sensor table's.
class SensorScale {
public:
    // The smallest range span accepted, in the natural unit.
    static constexpr float kMinimumSpanCelsius = 10.0f;
    static constexpr float kMinimumSpanMillivolt = 1.0f;
    static constexpr float kMinimumSpanOhm = 10.0f;

    explicit SensorScale(const SensorModel& sensor);

    // Not a number when the unit is not allowed for the sensor.
    float fromNatural(float natural, std::uint8_t unitCode) const;
    float toNatural(float value, std::uint8_t unitCode) const;
    float spanFromNatural(float naturalSpan, std::uint8_t unitCode) const;
    Limits naturalLimits() const;
    // The sensor limits in a unit, computed as the configuration program does, so that a
    // range at the limit compares equal on both sides.
    Limits limitsIn(std::uint8_t unitCode) const;
    float minimumSpanIn(std::uint8_t unitCode) const;

private:
    const SensorModel& m_sensor;
};

}  // namespace sim
