#include "simulator/write_commands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "simulator/wire_format.h"

namespace sim {

namespace {

constexpr std::size_t kMessageBytes = kMessageLength / 4 * 3;
// Command 35.
constexpr std::uint8_t kLowerRangeTooHigh = 9;
constexpr std::uint8_t kLowerRangeTooLow = 10;
constexpr std::uint8_t kUpperRangeTooHigh = 11;
constexpr std::uint8_t kUpperRangeTooLow = 12;
constexpr std::uint8_t kBothRangeValuesOutOfLimits = 13;
constexpr std::uint8_t kSpanTooSmall = 14;
// Command 141.
constexpr std::uint8_t kInvalidSensorType = 11;
constexpr std::uint8_t kInvalidSensorConnection = 12;
// Command 155.
constexpr std::uint8_t kInvalidHighAlarm = 10;
constexpr std::uint8_t kInvalidHighSaturation = 11;
constexpr std::uint8_t kInvalidLowAlarm = 12;
constexpr std::uint8_t kInvalidLowSaturation = 13;

bool IsZeroOrOne(std::uint8_t code) { return code == 0 || code == 1; }

std::string WithoutTrailingSpaces(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// 0 when the value is within the limits, else the code of the side it left.
std::uint8_t LimitViolation(float value, Limits limits, std::uint8_t tooHigh, std::uint8_t tooLow)
{
    if (value > limits.upper + WriteCommands::kLimitTolerance) return tooHigh;
    if (value < limits.lower - WriteCommands::kLimitTolerance) return tooLow;
    return 0;
}

}  // namespace

WriteCommands::WriteCommands(DeviceModel& model) : m_model(model) {}

std::optional<CommandReply> WriteCommands::handle(std::uint8_t command,
                                                  std::span<const std::uint8_t> data)
{
    switch (command) {
    case 6: return writePollAddress(data);
    case 17: return writeMessage(data);
    case 18: return writeTag(data);
    case 19: return writeFinalAssemblyNumber(data);
    case 34: return writeDamping(data);
    case 35: return writeRange(data);
    case 44: return writeRangeUnits(data);
    case 141: return writeSensor(data);
    case 151: return writeLineFilter(data);
    case 155: return writeLevels(data);
    case 162: return writeAlarmSelect(data);
    case 195: return writeProtection(data);
    default: return std::nullopt;
    }
}

CommandReply WriteCommands::writePollAddress(std::span<const std::uint8_t> data)
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] > kHighestPollAddress) return CommandReply::error(response::kInvalidSelection);
    // Two devices at one address would both answer its frames.
    if (data[0] != m_model.state().identity.pollAddress && pollAddressTaken &&
        pollAddressTaken(data[0]))
        return CommandReply::error(response::kInvalidSelection);
    m_model.state().identity.pollAddress = data[0];
    return CommandReply::success({data[0]});
}

CommandReply WriteCommands::writeMessage(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(kMessageBytes)) return CommandReply::error(response::kTooFewDataBytes);
    std::string& message = m_model.state().config.message;
    message = WithoutTrailingSpaces(in.packedAscii(kMessageLength));
    std::vector<std::uint8_t> out;
    AppendPackedAscii(out, message, kMessageLength);
    return CommandReply::success(std::move(out));
}

CommandReply WriteCommands::writeFinalAssemblyNumber(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(3)) return CommandReply::error(response::kTooFewDataBytes);
    std::uint32_t& number = m_model.state().config.finalAssemblyNumber;
    number = in.unsignedValue(3);
    std::vector<std::uint8_t> out;
    AppendUnsigned(out, number, 3);
    return CommandReply::success(std::move(out));
}

CommandReply WriteCommands::writeTag(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(21)) return CommandReply::error(response::kTooFewDataBytes);
    DeviceConfig& config = m_model.state().config;
    config.tag = WithoutTrailingSpaces(in.packedAscii(8));
    config.descriptor = WithoutTrailingSpaces(in.packedAscii(16));
    config.date = HartDate{in.byte(), in.byte(), in.byte()};
    std::vector<std::uint8_t> out;
    AppendPackedAscii(out, config.tag, 8);
    AppendPackedAscii(out, config.descriptor, 16);
    out.insert(out.end(), {config.date.day, config.date.month, config.date.year});
    return CommandReply::success(std::move(out));
}

CommandReply WriteCommands::writeDamping(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(4)) return CommandReply::error(response::kTooFewDataBytes);
    const float requested = in.floatValue();
    if (std::isnan(requested)) return CommandReply::error(response::kInvalidSelection);
    if (requested < 0.0f) return CommandReply::error(response::kTooSmall);
    if (requested > kMaximumDampingS) return CommandReply::error(response::kTooLarge);
    const bool roundedUp = requested < kMinimumDampingS;
    float& damping = m_model.state().config.dampingS;
    damping = roundedUp ? kMinimumDampingS : requested;
    std::vector<std::uint8_t> out;
    AppendFloat(out, damping);
    return roundedUp ? CommandReply::warning(std::move(out))
                     : CommandReply::success(std::move(out));
}

CommandReply WriteCommands::writeRange(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(9)) return CommandReply::error(response::kTooFewDataBytes);
    const std::uint8_t unit = in.byte();
    const float upper = in.floatValue();
    const float lower = in.floatValue();
    const SensorScale scale = m_model.scale();
    if (!IsUnitAllowed(m_model.sensor(), unit) || std::isnan(upper) || std::isnan(lower))
        return CommandReply::error(response::kInvalidSelection);

    const Limits limits = scale.limitsIn(unit);
    const std::uint8_t lowerViolation =
        LimitViolation(lower, limits, kLowerRangeTooHigh, kLowerRangeTooLow);
    const std::uint8_t upperViolation =
        LimitViolation(upper, limits, kUpperRangeTooHigh, kUpperRangeTooLow);
    if (lowerViolation && upperViolation) return CommandReply::error(kBothRangeValuesOutOfLimits);
    if (lowerViolation) return CommandReply::error(lowerViolation);
    if (upperViolation) return CommandReply::error(upperViolation);
    if (std::fabs(upper - lower) < scale.minimumSpanIn(unit) - kLimitTolerance)
        return CommandReply::error(kSpanTooSmall);

    DeviceConfig& config = m_model.state().config;
    if (unit == config.rangeUnits) {
        config.upperRangeValue = upper;
        config.lowerRangeValue = lower;
    } else {
        config.upperRangeValue = scale.fromNatural(scale.toNatural(upper, unit), config.rangeUnits);
        config.lowerRangeValue = scale.fromNatural(scale.toNatural(lower, unit), config.rangeUnits);
    }
    std::vector<std::uint8_t> out{unit};
    AppendFloat(out, upper);
    AppendFloat(out, lower);
    return CommandReply::success(std::move(out));
}

CommandReply WriteCommands::writeRangeUnits(std::span<const std::uint8_t> data)
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    const std::uint8_t unit = data[0];
    if (!IsUnitAllowed(m_model.sensor(), unit))
        return CommandReply::error(response::kInvalidSelection);
    DeviceConfig& config = m_model.state().config;
    if (unit != config.rangeUnits) {
        const SensorScale scale = m_model.scale();
        config.upperRangeValue =
            scale.fromNatural(scale.toNatural(config.upperRangeValue, config.rangeUnits), unit);
        config.lowerRangeValue =
            scale.fromNatural(scale.toNatural(config.lowerRangeValue, config.rangeUnits), unit);
        config.rangeUnits = unit;
    }
    return CommandReply::success({unit});
}

CommandReply WriteCommands::writeSensor(std::span<const std::uint8_t> data)
{
    if (data.size() < 3) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] != 0) return CommandReply::error(response::kInvalidSensorNumber);
    const SensorModel* sensor = FindSensor(data[1]);
    if (!sensor) return CommandReply::error(kInvalidSensorType);
    if (!IsConnectionAllowed(*sensor, data[2]))
        return CommandReply::error(kInvalidSensorConnection);

    DeviceState& state = m_model.state();
    bool adjusted = false;
    if (state.config.sensorType != data[1]) {
        state.config.sensorType = data[1];
        // A trim made on another sensor means nothing for this one.
        state.calibration = SensorCalibration{};
        adjusted = fitRangeToSensor();
    }
    state.config.sensorConnection = data[2];
    std::vector<std::uint8_t> out(data.begin(), data.begin() + 3);
    return adjusted ? CommandReply::warning(std::move(out)) : CommandReply::success(std::move(out));
}

bool WriteCommands::fitRangeToSensor()
{
    DeviceConfig& config = m_model.state().config;
    const SensorScale scale = m_model.scale();
    if (!IsUnitAllowed(m_model.sensor(), config.rangeUnits)) {
        config.rangeUnits = NaturalUnit(m_model.sensor());
        const Limits limits = scale.limitsIn(config.rangeUnits);
        config.lowerRangeValue = limits.lower;
        config.upperRangeValue = limits.upper;
        return true;
    }
    const Limits limits = scale.limitsIn(config.rangeUnits);
    const float lower = std::clamp(config.lowerRangeValue, limits.lower, limits.upper);
    const float upper = std::clamp(config.upperRangeValue, limits.lower, limits.upper);
    if (lower == config.lowerRangeValue && upper == config.upperRangeValue) return false;
    const bool spanLeft = std::fabs(upper - lower) >= scale.minimumSpanIn(config.rangeUnits);
    config.lowerRangeValue = spanLeft ? lower : limits.lower;
    config.upperRangeValue = spanLeft ? upper : limits.upper;
    return true;
}

CommandReply WriteCommands::writeLineFilter(std::span<const std::uint8_t> data)
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    if (!IsZeroOrOne(data[0])) return CommandReply::error(response::kInvalidSelection);
    m_model.state().config.lineFilter = data[0];
    return CommandReply::success({data[0]});
}

CommandReply WriteCommands::writeLevels(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(16)) return CommandReply::error(response::kTooFewDataBytes);
    const float highAlarm = in.floatValue();
    const float lowAlarm = in.floatValue();
    const float highSaturation = in.floatValue();
    const float lowSaturation = in.floatValue();
    if (!kHighAlarmBand.contains(highAlarm)) return CommandReply::error(kInvalidHighAlarm);
    if (!kLowAlarmBand.contains(lowAlarm)) return CommandReply::error(kInvalidLowAlarm);
    if (!kHighSaturationBand.contains(highSaturation))
        return CommandReply::error(kInvalidHighSaturation);
    if (!kLowSaturationBand.contains(lowSaturation))
        return CommandReply::error(kInvalidLowSaturation);
    if (lowAlarm > lowSaturation) return CommandReply::error(kInvalidLowAlarm);
    if (highSaturation > highAlarm) return CommandReply::error(kInvalidHighAlarm);

    DeviceConfig& config = m_model.state().config;
    config.highAlarmMa = highAlarm;
    config.lowAlarmMa = lowAlarm;
    config.highSaturationMa = highSaturation;
    config.lowSaturationMa = lowSaturation;
    return CommandReply::success({data.begin(), data.begin() + 16});
}

CommandReply WriteCommands::writeAlarmSelect(std::span<const std::uint8_t> data)
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    if (!IsZeroOrOne(data[0])) return CommandReply::error(response::kInvalidSelection);
    m_model.state().config.alarmSelect = data[0];
    return CommandReply::success({data[0]});
}

CommandReply WriteCommands::writeProtection(std::span<const std::uint8_t> data)
{
    if (data.size() < 4) return CommandReply::error(response::kTooFewDataBytes);
    if (!IsZeroOrOne(data[3])) return CommandReply::error(response::kInvalidSelection);
    m_model.state().config.writeProtect = data[3];
    return CommandReply::success({data.begin(), data.begin() + 4});
}

}  // namespace sim
