#include "simulator/calibration_commands.h"

#include <cmath>

#include "simulator/wire_format.h"

namespace sim {

namespace {

// Commands 130, 131.
constexpr std::uint8_t kProcessTooHigh = 9;
constexpr std::uint8_t kProcessTooLow = 10;
constexpr std::uint8_t kComputationError = 13;
// Commands 130, 131, 142 (units) and 145 (mode).
constexpr std::uint8_t kInvalidCalibrationUnits = 12;
constexpr std::uint8_t kInvalidCalibrationMode = 12;

constexpr std::uint8_t kFactoryMode = 0;
constexpr std::uint8_t kUserMode = 1;
// Trim points are checked against the sensor limits; this much slack absorbs unit conversion.
constexpr float kBoundTolerance = 0.001f;

}  // namespace

CalibrationCommands::CalibrationCommands(DeviceModel& model) : m_model(model) {}

std::optional<CommandReply> CalibrationCommands::handle(std::uint8_t command,
                                                        std::span<const std::uint8_t> data)
{
    switch (command) {
    case 130: return trimPoint(data, TrimPosition::Upper);
    case 131: return trimPoint(data, TrimPosition::Lower);
    case 142: return calibrationInformation(data);
    case 145: return calibrationMode(data);
    default: return std::nullopt;
    }
}

CommandReply CalibrationCommands::trimPoint(std::span<const std::uint8_t> data,
                                            TrimPosition position)
{
    FieldReader in(data);
    if (!in.has(5)) return CommandReply::error(response::kTooFewDataBytes);
    const std::uint8_t unit = in.byte();
    const float point = in.floatValue();
    if (m_model.sensorFailed()) return CommandReply::error(kComputationError);
    if (!IsUnitAllowed(m_model.sensor(), unit))
        return CommandReply::error(kInvalidCalibrationUnits);
    if (std::isnan(point)) return CommandReply::error(response::kInvalidSelection);
    const SensorScale scale = m_model.scale();
    const Limits bounds = scale.limitsIn(unit);
    if (point > bounds.upper + kBoundTolerance) return CommandReply::error(kProcessTooHigh);
    if (point < bounds.lower - kBoundTolerance) return CommandReply::error(kProcessTooLow);

    SensorCalibration& calibration = m_model.state().calibration;
    const Limits natural = scale.naturalLimits();
    const float trueValue = scale.toNatural(point, unit);
    const float measured = m_model.rawInput();
    if (std::fabs(trueValue - measured) > kFarTrimShareOfSpan * (natural.upper - natural.lower)) {
        calibration.calibrationError = true;
    } else {
        auto& slot = position == TrimPosition::Upper ? calibration.upper : calibration.lower;
        slot = TrimPoint{measured, trueValue};
        calibration.mode = kUserMode;
        calibration.calibrationError = false;
    }
    std::vector<std::uint8_t> out{unit};
    AppendFloat(out, point);
    return CommandReply::success(std::move(out));
}

CommandReply CalibrationCommands::calibrationInformation(std::span<const std::uint8_t> data) const
{
    if (data.size() < 2) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] != 0) return CommandReply::error(response::kInvalidSensorNumber);
    const std::uint8_t unit = data[1];
    if (!IsUnitAllowed(m_model.sensor(), unit))
        return CommandReply::error(kInvalidCalibrationUnits);
    const SensorScale scale = m_model.scale();
    const SensorCalibration& calibration = m_model.state().calibration;
    const Limits bounds = scale.limitsIn(unit);
    const auto pointIn = [&](const std::optional<TrimPoint>& trim) {
        return calibration.mode == kUserMode && trim ? scale.fromNatural(trim->trueValue, unit)
                                                     : NotANumber();
    };
    std::vector<std::uint8_t> out{data[0], unit, calibration.mode};
    AppendFloat(out, bounds.upper);
    AppendFloat(out, bounds.lower);
    AppendFloat(out, pointIn(calibration.upper));
    AppendFloat(out, pointIn(calibration.lower));
    return CommandReply::success(std::move(out));
}

CommandReply CalibrationCommands::calibrationMode(std::span<const std::uint8_t> data)
{
    if (data.size() < 2) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] != 0) return CommandReply::error(response::kInvalidSensorNumber);
    SensorCalibration& calibration = m_model.state().calibration;
    switch (data[1]) {
    case kFactoryMode:
        // The trim points go; a latched calibration error stays until the device restarts.
        calibration.mode = kFactoryMode;
        calibration.lower.reset();
        calibration.upper.reset();
        break;
    case kUserMode: calibration.mode = kUserMode; break;
    default: return CommandReply::error(kInvalidCalibrationMode);
    }
    return CommandReply::success({data[0], data[1]});
}

}  // namespace sim
