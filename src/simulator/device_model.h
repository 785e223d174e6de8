#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "simulator/sensor_catalog.h"
#include "simulator/sensor_scale.h"
#include "simulator/simulator_setup.h"

namespace sim {

// The transmitter's measurement and output: what it reads from the sensor, what it makes of
// it with its range and calibration, what it drives into the loop, and the status it reports.
class DeviceModel {
public:
    explicit DeviceModel(SimulatorSetup setup = {});

    SimulatorSetup& setup();
    const SimulatorSetup& setup() const;
    DeviceState& state();
    const DeviceState& state() const;

    // Takes a new reading, once per request, so that all values of one answer agree.
    void sampleProcess();
    // Back to normal operation after a reset: fixed current released, latched errors cleared.
    void restart();

    const SensorModel& sensor() const;
    SensorScale scale() const;
    bool sensorFailed() const;
    bool transmitterFailed() const;
    // The sensor input in its natural unit with the factory calibration.
    float rawInput() const;
    // After the user trim; not a number when the sensor has failed.
    float measuredInput() const;
    // The measured input in the range units.
    float primaryValue() const;
    // Where the primary value lies in the range, 0–100 % from the lower to the upper value.
    float percentOfRange() const;
    float electronicsTemperatureC() const;

    bool multidrop() const;
    // The current the transmitter drives (and reports in command 3).
    float loopCurrentMa() const;
    // What a meter in the loop would read: the driven current with the output's own error
    // and the trim corrections applied.
    float analogOutputMa() const;

    // The status bits the measurement and the output decide: malfunction, loop current fixed
    // and saturated, primary variable out of limits. The bits that depend on the exchanges
    // with the masters are the Device's.
    std::uint8_t deviceStatus() const;
    std::array<std::uint8_t, 5> additionalStatus() const;

private:
    bool loopCurrentSaturated() const;
    bool primaryValueOutOfLimits() const;

    SimulatorSetup m_setup;
    std::mt19937 m_random;
    float m_noise = 0.0f;
};

}  // namespace sim
