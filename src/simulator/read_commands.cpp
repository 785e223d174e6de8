#include "simulator/read_commands.h"

#include "simulator/wire_format.h"

namespace sim {

namespace {

constexpr std::uint8_t kIdentityMarker = 254;
constexpr std::uint8_t kTransferFunctionLinear = 0;
constexpr std::size_t kMaximumDeviceVariableSlots = 4;
constexpr std::uint8_t kRegisterRead = 1;

// Parameter registers of the thermometer (command 139).
namespace reg {
constexpr std::uint8_t kCableEntry = 74;
constexpr std::uint8_t kExecution = 75;
constexpr std::uint8_t kHeadType = 76;
constexpr std::uint8_t kFinalAssemblyDate = 77;
constexpr std::uint8_t kArmature = 108;
constexpr std::uint8_t kMountingLength = 110;
constexpr std::uint8_t kSerialNumber = 194;
}  // namespace reg

}  // namespace

ReadCommands::ReadCommands(DeviceModel& model) : m_model(model) {}

std::optional<CommandReply> ReadCommands::handle(std::uint8_t command,
                                                 std::span<const std::uint8_t> data) const
{
    switch (command) {
    case 0:
    case 249: return identification();
    case 1: return primaryVariable();
    case 2: return currentAndPercent();
    case 3: return processValues();
    case 12: return message();
    case 13: return tagDescriptorDate();
    case 14: return sensorInformation();
    case 15: return outputInformation();
    case 16: return finalAssemblyNumber();
    case 33: return deviceVariables(data);
    case 48: return additionalStatus();
    case 139: return registerAccess(data);
    case 140: return sensorConfiguration(data);
    case 150: return lineFilter();
    case 189: return alarmLevels();
    default: return std::nullopt;
    }
}

CommandReply ReadCommands::identification() const
{
    const DeviceIdentity& id = m_model.state().identity;
    std::vector<std::uint8_t> out{
        kIdentityMarker,
        id.manufacturerCode,
        id.deviceType,
        id.preambleCount,
        id.universalRev,
        id.deviceRev,
        id.softwareRev,
        static_cast<std::uint8_t>((id.hardwareRev << 3) | (id.physicalSignaling & 0x07)),
        id.flags};
    AppendUnsigned(out, id.deviceId, 3);
    return CommandReply::success(std::move(out));
}

std::optional<ReadCommands::VariableValue> ReadCommands::deviceVariable(std::uint8_t code) const
{
    const SensorModel& sensor = m_model.sensor();
    const SensorScale scale = m_model.scale();
    switch (code) {
    case 0: return VariableValue{m_model.state().config.rangeUnits, m_model.primaryValue()};
    case 1: return VariableValue{units::kCelsius, m_model.electronicsTemperatureC()};
    case 2: {
        const std::uint8_t configured = m_model.state().config.sensorTempUnits;
        const std::uint8_t unit = IsThermometer(sensor) && IsTemperatureUnit(configured)
                                      ? configured
                                      : NaturalUnit(sensor);
        return VariableValue{unit, scale.fromNatural(m_model.measuredInput(), unit)};
    }
    case 3: {
        const std::uint8_t unit = ElectricalUnit(sensor);
        return VariableValue{unit, scale.fromNatural(m_model.measuredInput(), unit)};
    }
    case units::kNotUsed: return VariableValue{units::kNotUsed, NotANumber()};
    default: return std::nullopt;
    }
}

CommandReply ReadCommands::primaryVariable() const
{
    std::vector<std::uint8_t> out{m_model.state().config.rangeUnits};
    AppendFloat(out, m_model.primaryValue());
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::currentAndPercent() const
{
    std::vector<std::uint8_t> out;
    AppendFloat(out, m_model.loopCurrentMa());
    AppendFloat(out, m_model.percentOfRange());
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::message() const
{
    std::vector<std::uint8_t> out;
    AppendPackedAscii(out, m_model.state().config.message, kMessageLength);
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::processValues() const
{
    std::vector<std::uint8_t> out;
    AppendFloat(out, m_model.loopCurrentMa());
    for (std::uint8_t code = 0; code < 4; ++code) {
        const VariableValue variable = *deviceVariable(code);
        out.push_back(variable.units);
        AppendFloat(out, variable.value);
    }
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::deviceVariables(std::span<const std::uint8_t> data) const
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    std::vector<std::uint8_t> out;
    for (std::size_t slot = 0; slot < data.size() && slot < kMaximumDeviceVariableSlots; ++slot) {
        const auto variable = deviceVariable(data[slot]);
        if (!variable) return CommandReply::error(response::kInvalidSelection);
        out.push_back(data[slot]);
        out.push_back(variable->units);
        AppendFloat(out, variable->value);
    }
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::tagDescriptorDate() const
{
    const DeviceConfig& config = m_model.state().config;
    std::vector<std::uint8_t> out;
    AppendPackedAscii(out, config.tag, 8);
    AppendPackedAscii(out, config.descriptor, 16);
    out.insert(out.end(), {config.date.day, config.date.month, config.date.year});
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::sensorInformation() const
{
    const DeviceConfig& config = m_model.state().config;
    const SensorScale scale = m_model.scale();
    const Limits limits = scale.limitsIn(config.rangeUnits);
    std::vector<std::uint8_t> out;
    AppendUnsigned(out, config.sensorSerial, 3);
    out.push_back(config.rangeUnits);
    AppendFloat(out, limits.upper);
    AppendFloat(out, limits.lower);
    AppendFloat(out, scale.minimumSpanIn(config.rangeUnits));
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::outputInformation() const
{
    const DeviceConfig& config = m_model.state().config;
    std::vector<std::uint8_t> out{config.alarmSelect, kTransferFunctionLinear, config.rangeUnits};
    AppendFloat(out, config.upperRangeValue);
    AppendFloat(out, config.lowerRangeValue);
    AppendFloat(out, config.dampingS);
    out.push_back(config.writeProtect);
    out.push_back(config.privateLabelDistributor);
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::finalAssemblyNumber() const
{
    std::vector<std::uint8_t> out;
    AppendUnsigned(out, m_model.state().config.finalAssemblyNumber, 3);
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::additionalStatus() const
{
    const auto bytes = m_model.additionalStatus();
    return CommandReply::success({bytes.begin(), bytes.end()});
}

std::optional<std::vector<std::uint8_t>>
ReadCommands::registerData(std::uint8_t registerNumber) const
{
    const ThermometerRegisters& t = m_model.state().thermometer;
    std::vector<std::uint8_t> out;
    switch (registerNumber) {
    case reg::kCableEntry: out = {t.cableEntry}; break;
    case reg::kExecution: out = {t.execution}; break;
    case reg::kHeadType: out = {t.headType}; break;
    case reg::kFinalAssemblyDate: out = {t.assemblyDay, t.assemblyMonth, t.assemblyYear}; break;
    case reg::kArmature: out = {t.armatureLetter, t.armatureNumber}; break;
    case reg::kMountingLength: AppendUnsigned(out, t.mountingLengthMm, 2); break;
    case reg::kSerialNumber: AppendUnsigned(out, t.serial, 3); break;
    default: return std::nullopt;
    }
    out.resize(4, 0);
    return out;
}

CommandReply ReadCommands::registerAccess(std::span<const std::uint8_t> data) const
{
    if (data.size() < 7) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] != kRegisterRead) return CommandReply::error(response::kInvalidSelection);
    const auto registerBytes = registerData(data[2]);
    if (!registerBytes) return CommandReply::error(response::kInvalidSelection);
    std::vector<std::uint8_t> out{data[0], data[1], data[2]};
    out.insert(out.end(), registerBytes->begin(), registerBytes->end());
    return CommandReply::success(std::move(out));
}

CommandReply ReadCommands::sensorConfiguration(std::span<const std::uint8_t> data) const
{
    if (data.empty()) return CommandReply::error(response::kTooFewDataBytes);
    if (data[0] != 0) return CommandReply::error(response::kInvalidSensorNumber);
    const DeviceConfig& config = m_model.state().config;
    return CommandReply::success({data[0], config.sensorType, config.sensorConnection});
}

CommandReply ReadCommands::lineFilter() const
{
    return CommandReply::success({m_model.state().config.lineFilter});
}

CommandReply ReadCommands::alarmLevels() const
{
    const DeviceConfig& config = m_model.state().config;
    std::vector<std::uint8_t> out;
    for (float level :
         {config.highAlarmMa, config.lowAlarmMa, config.highSaturationMa, config.lowSaturationMa})
        AppendFloat(out, level);
    return CommandReply::success(std::move(out));
}

}  // namespace sim
