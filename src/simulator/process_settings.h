#pragma once

#include <cstdint>

namespace sim {

// The world outside the transmitter: what the sensor sees and how far the analog output is
// off before it is trimmed.
struct ProcessSettings {
    // In the sensor's natural unit: °C for thermometers, mV or ohm for the electrical inputs.
    float value = 25.0f;
    // Each reading is value ± up to this much, uniformly spread; 0 gives steady readings.
    float noise = 0.05f;
    std::uint32_t seed = 4410;
    float electronicsTemperatureC = 31.5f;
    // What a meter in the loop reads minus what the transmitter means to output, at 4 and
    // at 20 mA, before any loop trim.
    float outputError4Ma = 0.0f;
    float outputError20Ma = 0.0f;
};

}  // namespace sim
