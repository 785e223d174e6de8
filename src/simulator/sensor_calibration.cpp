#include "simulator/sensor_calibration.h"

#include <cmath>

namespace sim {

namespace {

// Two trim points measured this close together give no usable slope.
constexpr float kMinimumPointDistance = 1e-3f;

}  // namespace

float CorrectedInput(const SensorCalibration& calibration, float rawInput)
{
    if (calibration.mode != 1) return rawInput;
    const auto& lower = calibration.lower;
    const auto& upper = calibration.upper;
    if (lower && upper && std::fabs(upper->measured - lower->measured) >= kMinimumPointDistance) {
        const float slope =
            (upper->trueValue - lower->trueValue) / (upper->measured - lower->measured);
        return lower->trueValue + (rawInput - lower->measured) * slope;
    }
    const auto& point = upper ? upper : lower;
    if (point) return rawInput + (point->trueValue - point->measured);
    return rawInput;
}

}  // namespace sim
