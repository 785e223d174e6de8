#include "simulator/setup_validation.h"

#include <cmath>

#include "simulator/sensor_catalog.h"
#include "simulator/sensor_scale.h"
#include "simulator/write_commands.h"

namespace sim {

namespace {

std::string Number(float value)
{
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

void CheckBand(std::vector<std::string>& problems, const char* key, float value,
               WriteCommands::Band band)
{
    if (!band.contains(value))
        problems.push_back("[config] " + std::string(key) + " " + Number(value) + " is outside " +
                           Number(band.lowest) + "–" + Number(band.highest) + " mA");
}

void CheckRange(std::vector<std::string>& problems, const DeviceConfig& config,
                const SensorModel& sensor)
{
    if (!IsUnitAllowed(sensor, config.rangeUnits)) {
        problems.push_back("[config] range_units " + std::to_string(config.rangeUnits) +
                           " is not allowed for sensor type " + std::to_string(sensor.typeCode));
        return;
    }
    const SensorScale scale(sensor);
    const Limits limits = scale.limitsIn(config.rangeUnits);
    const float tolerance = WriteCommands::kLimitTolerance;
    for (const auto& [key, value] : {std::pair{"lower_range", config.lowerRangeValue},
                                     std::pair{"upper_range", config.upperRangeValue}}) {
        if (value < limits.lower - tolerance || value > limits.upper + tolerance)
            problems.push_back("[config] " + std::string(key) + " " + Number(value) +
                               " is outside the sensor limits " + Number(limits.lower) + "…" +
                               Number(limits.upper));
    }
    const float minimumSpan = scale.minimumSpanIn(config.rangeUnits);
    if (std::fabs(config.upperRangeValue - config.lowerRangeValue) < minimumSpan - tolerance)
        problems.push_back("[config] the range is narrower than the minimum span " +
                           Number(minimumSpan));
}

}  // namespace

std::vector<std::string> ValidateSetup(const SimulatorSetup& setup)
{
    std::vector<std::string> problems;
    const DeviceConfig& config = setup.state.config;
    const SensorModel* sensor = FindSensor(config.sensorType);
    if (!sensor) {
        problems.push_back("[config] sensor_type " + std::to_string(config.sensorType) +
                           " is unknown");
    } else {
        if (!IsConnectionAllowed(*sensor, config.sensorConnection))
            problems.push_back("[config] connection " + std::to_string(config.sensorConnection) +
                               " is not allowed for sensor type " +
                               std::to_string(config.sensorType));
        CheckRange(problems, config, *sensor);
    }
    if (!IsTemperatureUnit(config.sensorTempUnits))
        problems.push_back("[config] sensor_temp_units must be a temperature unit (32–35)");
    if (!(config.dampingS >= WriteCommands::kMinimumDampingS &&
          config.dampingS <= WriteCommands::kMaximumDampingS))
        problems.push_back("[config] damping " + Number(config.dampingS) + " is outside " +
                           Number(WriteCommands::kMinimumDampingS) + "–" +
                           Number(WriteCommands::kMaximumDampingS) + " s");
    CheckBand(problems, "high_alarm", config.highAlarmMa, WriteCommands::kHighAlarmBand);
    CheckBand(problems, "low_alarm", config.lowAlarmMa, WriteCommands::kLowAlarmBand);
    CheckBand(problems, "high_saturation", config.highSaturationMa,
              WriteCommands::kHighSaturationBand);
    CheckBand(problems, "low_saturation", config.lowSaturationMa,
              WriteCommands::kLowSaturationBand);
    if (config.lowAlarmMa > config.lowSaturationMa)
        problems.push_back("[config] low_alarm lies above low_saturation");
    if (config.highSaturationMa > config.highAlarmMa)
        problems.push_back("[config] high_saturation lies above high_alarm");
    if (setup.process.noise < 0.0f) problems.push_back("[process] noise must not be negative");
    return problems;
}

}  // namespace sim
