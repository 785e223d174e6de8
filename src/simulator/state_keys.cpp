#include "simulator/state_keys.h"

#include <map>
#include <type_traits>

#include "simulator/sensor_catalog.h"
#include "simulator/value_parsing.h"
#include "simulator/wire_format.h"

namespace sim {

namespace {

using Error = std::optional<std::string>;

template <class Access>
KeyApplier Whole(Access access, long long lowest, long long highest)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto number = ParseIntegerIn(value, lowest, highest);
        if (!number)
            return "expected a whole number from " + std::to_string(lowest) + " to " +
                   std::to_string(highest);
        auto& field = access(setup);
        field = static_cast<std::remove_reference_t<decltype(field)>>(*number);
        return std::nullopt;
    };
}

template <class Access>
KeyApplier Byte(Access access)
{
    return Whole(access, 0, 255);
}

template <class Access>
KeyApplier Number(Access access)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto number = ParseNumber(value);
        if (!number) return std::string("expected a number");
        access(setup) = *number;
        return std::nullopt;
    };
}

template <class Access>
KeyApplier Text(Access access, std::size_t maximumLength)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const std::string text = Trimmed(value);
        if (text.size() > maximumLength)
            return "longer than " + std::to_string(maximumLength) + " characters";
        // Packed ASCII carries the characters from space to underscore; lower case letters
        // travel as upper case.
        for (char c : text) {
            const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            if (upper < 32 || upper > 95)
                return std::string("has characters that packed ASCII cannot carry");
        }
        access(setup) = NormalizeForPackedAscii(text, text.size());
        return std::nullopt;
    };
}

template <class Access>
KeyApplier Switch(Access access)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto on = ParseSwitch(value);
        if (!on) return std::string("expected on or off");
        access(setup) = *on ? 1 : 0;
        return std::nullopt;
    };
}

template <class Access>
KeyApplier Count(Access access)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto count = ParseFaultCount(value);
        if (!count) return std::string("expected a number of requests or \"always\"");
        access(setup) = *count;
        return std::nullopt;
    };
}

// A code, or one of the names given for it.
template <class Access>
KeyApplier Choice(Access access, std::map<std::string, std::uint8_t> names, std::string expected)
{
    return [=](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto named = names.find(LowerCase(Trimmed(value)));
        if (named == names.end()) return "expected " + expected;
        access(setup) = named->second;
        return std::nullopt;
    };
}

template <class Access>
KeyApplier Unit(Access access)
{
    return Choice(access,
                  {{"32", units::kCelsius},
                   {"c", units::kCelsius},
                   {"33", units::kFahrenheit},
                   {"f", units::kFahrenheit},
                   {"34", units::kRankine},
                   {"r", units::kRankine},
                   {"35", units::kKelvin},
                   {"k", units::kKelvin},
                   {"36", units::kMillivolt},
                   {"mv", units::kMillivolt},
                   {"37", units::kOhm},
                   {"ohm", units::kOhm}},
                  "a unit code 32–37 or C, F, R, K, mV, Ohm");
}

KeyApplier HartDateKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto date = ParseDate(value);
        if (!date || date->year > 1900 + 255)
            return std::string("expected a date DD.MM.YYYY from 1900 to 2155");
        setup.state.config.date =
            HartDate{static_cast<std::uint8_t>(date->day), static_cast<std::uint8_t>(date->month),
                     static_cast<std::uint8_t>(date->year - 1900)};
        return std::nullopt;
    };
}

KeyApplier AssemblyDateKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto date = ParseDate(value);
        if (!date || date->year < 2000)
            return std::string("expected a date DD.MM.YYYY from 2000 to 2255");
        ThermometerRegisters& t = setup.state.thermometer;
        t.assemblyDay = static_cast<std::uint8_t>(date->day);
        t.assemblyMonth = static_cast<std::uint8_t>(date->month);
        t.assemblyYear = static_cast<std::uint8_t>(date->year - 2000);
        return std::nullopt;
    };
}

KeyApplier SensorTypeKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto code = ParseIntegerIn(value, 0, 255);
        if (!code || !FindSensor(static_cast<std::uint8_t>(*code)))
            return std::string(
                "expected a sensor type code of the transmitter (e.g. 1 PT100, 132 type K)");
        setup.state.config.sensorType = static_cast<std::uint8_t>(*code);
        return std::nullopt;
    };
}

KeyApplier ArmatureKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const std::string text = LowerCase(Trimmed(value));
        const auto number = text.size() >= 2
                                ? ParseIntegerIn(std::string_view(text).substr(1), 0, 99)
                                : std::nullopt;
        if (text.empty() || text[0] < 'a' || text[0] > 'e' || !number)
            return std::string("expected a letter A–E and a number 0–99, as in A01");
        setup.state.thermometer.armatureLetter = static_cast<std::uint8_t>(text[0] - 'a' + 1);
        setup.state.thermometer.armatureNumber = static_cast<std::uint8_t>(*number);
        return std::nullopt;
    };
}

KeyApplier ResponseKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto override = ParseResponseOverride(value);
        if (!override) return std::string("expected COMMAND=CODE, both 0–255");
        setup.faults.responseOverrides[override->first] = override->second;
        return std::nullopt;
    };
}

KeyApplier SensorFailureKey()
{
    return [](std::string_view value, SimulatorSetup& setup) -> Error {
        const auto failure = ParseSensorFailure(value);
        if (!failure) return std::string("expected none, open or short");
        setup.faults.sensorFailure = *failure;
        return std::nullopt;
    };
}

#define FIELD(path)                                                                                \
    [](SimulatorSetup & s) -> auto& { return s.path; }

const std::map<std::string, std::map<std::string, KeyApplier>>& StateKeys()
{
    static const std::map<std::string, std::map<std::string, KeyApplier>> keys{
        {"identity",
         {{"manufacturer", Byte(FIELD(state.identity.manufacturerCode))},
          {"device_type", Byte(FIELD(state.identity.deviceType))},
          {"device_id", Whole(FIELD(state.identity.deviceId), 0, 0xFFFFFF)},
          {"device_rev", Byte(FIELD(state.identity.deviceRev))},
          {"software_rev", Byte(FIELD(state.identity.softwareRev))},
          {"hardware_rev", Whole(FIELD(state.identity.hardwareRev), 0, 31)},
          {"poll_address", Whole(FIELD(state.identity.pollAddress), 0, 15)}}},
        {"config",
         {{"tag", Text(FIELD(state.config.tag), 8)},
          {"descriptor", Text(FIELD(state.config.descriptor), 16)},
          {"message", Text(FIELD(state.config.message), kMessageLength)},
          {"date", HartDateKey()},
          {"sensor_type", SensorTypeKey()},
          {"connection", Whole(FIELD(state.config.sensorConnection), 2, 4)},
          {"range_units", Unit(FIELD(state.config.rangeUnits))},
          {"lower_range", Number(FIELD(state.config.lowerRangeValue))},
          {"upper_range", Number(FIELD(state.config.upperRangeValue))},
          {"damping", Number(FIELD(state.config.dampingS))},
          {"alarm", Choice(FIELD(state.config.alarmSelect),
                           {{"high", 0}, {"0", 0}, {"low", 1}, {"1", 1}}, "high or low")},
          {"high_alarm", Number(FIELD(state.config.highAlarmMa))},
          {"low_alarm", Number(FIELD(state.config.lowAlarmMa))},
          {"high_saturation", Number(FIELD(state.config.highSaturationMa))},
          {"low_saturation", Number(FIELD(state.config.lowSaturationMa))},
          {"line_filter",
           Choice(FIELD(state.config.lineFilter), {{"50", 1}, {"60", 0}}, "50 or 60")},
          {"write_protect", Switch(FIELD(state.config.writeProtect))},
          {"final_assembly_number", Whole(FIELD(state.config.finalAssemblyNumber), 0, 0xFFFFFF)},
          {"sensor_serial", Whole(FIELD(state.config.sensorSerial), 0, 0xFFFFFF)},
          {"sensor_temp_units", Unit(FIELD(state.config.sensorTempUnits))}}},
        {"thermometer",
         {{"armature", ArmatureKey()},
          {"head_type", Whole(FIELD(state.thermometer.headType), 1, 3)},
          {"cable_entry", Byte(FIELD(state.thermometer.cableEntry))},
          {"execution", Choice(FIELD(state.thermometer.execution),
                               {{"1", 1}, {"16", 16}, {"32", 32}}, "1, 16 or 32")},
          {"mounting_length", Whole(FIELD(state.thermometer.mountingLengthMm), 0, 0xFFFF)},
          {"assembly_date", AssemblyDateKey()},
          {"serial", Whole(FIELD(state.thermometer.serial), 0, 0xFFFFFF)}}},
        {"process",
         {{"value", Number(FIELD(process.value))},
          {"noise", Number(FIELD(process.noise))},
          {"seed", Whole(FIELD(process.seed), 0, 0xFFFFFFFF)},
          {"electronics_temperature", Number(FIELD(process.electronicsTemperatureC))},
          {"output_error_4ma", Number(FIELD(process.outputError4Ma))},
          {"output_error_20ma", Number(FIELD(process.outputError20Ma))}}},
        {"faults",
         {{"busy", Count(FIELD(faults.busy))},
          {"bad_checksum", Count(FIELD(faults.badChecksum))},
          {"burst", Count(FIELD(faults.burst))},
          {"wrong_command", Count(FIELD(faults.wrongCommand))},
          {"silent", Count(FIELD(faults.silent))},
          {"comm_error", Count(FIELD(faults.commError))},
          {"comm_error_code", Whole(FIELD(faults.commErrorCode), 0x80, 0xFF)},
          {"response", ResponseKey()},
          {"sensor_failure", SensorFailureKey()},
          {"transmitter_failure", Switch(FIELD(faults.transmitterFailure))}}},
    };
    return keys;
}

#undef FIELD

}  // namespace

bool IsStateSection(std::string_view section) { return StateKeys().contains(std::string(section)); }

const KeyApplier* FindStateKey(std::string_view section, std::string_view key)
{
    const auto sectionKeys = StateKeys().find(std::string(section));
    if (sectionKeys == StateKeys().end()) return nullptr;
    const auto found = sectionKeys->second.find(std::string(key));
    return found == sectionKeys->second.end() ? nullptr : &found->second;
}

}  // namespace sim
