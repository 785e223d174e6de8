#pragma once

#include "simulator/device_state.h"

namespace sim {

// The sensor reading after the user trim: one point shifts it, two points also set its slope.
// With factory calibration the reading is left as it is.
float CorrectedInput(const SensorCalibration& calibration, float rawInput);

}  // namespace sim
