#include "simulator/tool_options.h"

#include <functional>
#include <map>

#include "simulator/value_parsing.h"

namespace sim {

namespace {

enum class Argument { None, Required, Optional };

struct OptionRule {
    Argument argument;
    // Returns an error text, or an empty one when the value was taken. For an optional
    // argument that was left out, the value is empty.
    std::function<std::string(const std::string& value, ToolOptions& options)> apply;
};

OptionRule CountOption(std::optional<FaultCount> ToolOptions::*field,
                       Argument argument = Argument::Required)
{
    return {argument, [field](const std::string& value, ToolOptions& options) -> std::string {
                if (value.empty()) {
                    options.*field = FaultCount::always();
                    return {};
                }
                const auto count = ParseFaultCount(value);
                if (!count)
                    return "expects a number of requests or \"always\", not '" + value + "'";
                options.*field = *count;
                return {};
            }};
}

OptionRule FlagOption(bool ToolOptions::*field)
{
    return {Argument::None, [field](const std::string&, ToolOptions& options) -> std::string {
                options.*field = true;
                return {};
            }};
}

OptionRule NumberOption(std::optional<float> ToolOptions::*field)
{
    return {Argument::Required,
            [field](const std::string& value, ToolOptions& options) -> std::string {
                const auto number = ParseNumber(value);
                if (!number) return "expects a number, not '" + value + "'";
                options.*field = *number;
                return {};
            }};
}

const std::map<std::string, OptionRule>& Rules()
{
    static const std::map<std::string, OptionRule> rules{
        {"--com",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto number = ParseIntegerIn(value, 1, 255);
              if (!number) return "expects a port number from 1 to 255, not '" + value + "'";
              options.comNumber = static_cast<int>(*number);
              return {};
          }}},
        {"--state",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              options.stateFiles.push_back(value);
              return {};
          }}},
        {"--wire-timing", FlagOption(&ToolOptions::wireTiming)},
        {"--multidrop",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto count = ParseIntegerIn(value, 1, 15);
              if (!count) return "expects a number of devices from 1 to 15, not '" + value + "'";
              options.multidrop = static_cast<int>(*count);
              return {};
          }}},
        {"--device-id",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto id = ParseIntegerIn(value, 0, 0xFFFFFF);
              if (!id) return "expects a 24-bit number (decimal or 0x…), not '" + value + "'";
              options.deviceId = static_cast<std::uint32_t>(*id);
              return {};
          }}},
        {"--poll-address",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto address = ParseIntegerIn(value, 0, 15);
              if (!address) return "expects a polling address from 0 to 15, not '" + value + "'";
              options.pollAddress = static_cast<std::uint8_t>(*address);
              return {};
          }}},
        {"--process-value", NumberOption(&ToolOptions::processValue)},
        {"--noise", NumberOption(&ToolOptions::noise)},
        {"--busy", CountOption(&ToolOptions::busy)},
        {"--bad-checksum", CountOption(&ToolOptions::badChecksum)},
        {"--burst", CountOption(&ToolOptions::burst, Argument::Optional)},
        {"--wrong-command", CountOption(&ToolOptions::wrongCommand, Argument::Optional)},
        {"--silent", CountOption(&ToolOptions::silent)},
        {"--comm-error", CountOption(&ToolOptions::commError)},
        {"--response",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto override = ParseResponseOverride(value);
              if (!override) return "expects COMMAND=CODE (both 0–255), not '" + value + "'";
              options.responses[override->first] = override->second;
              return {};
          }}},
        {"--write-protect", FlagOption(&ToolOptions::writeProtect)},
        {"--sensor-failure",
         {Argument::Optional,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto failure =
                  value.empty() ? std::optional(SensorFailure::Open) : ParseSensorFailure(value);
              if (!failure) return "expects open, short or none, not '" + value + "'";
              options.sensorFailure = *failure;
              return {};
          }}},
        {"--xmtr-failure", FlagOption(&ToolOptions::transmitterFailure)},
        {"--echo", FlagOption(&ToolOptions::echo)},
        {"--garbage",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto count = ParseIntegerIn(value, 0, 255);
              if (!count) return "expects a number of bytes from 0 to 255, not '" + value + "'";
              options.garbageBytes = static_cast<int>(*count);
              return {};
          }}},
        {"--hart-ip",
         {Argument::Required,
          [](const std::string& value, ToolOptions& options) -> std::string {
              const auto colon = value.rfind(':');
              const std::string portText =
                  colon == std::string::npos ? value : value.substr(colon + 1);
              const auto port = ParseIntegerIn(portText, 0, 65535);
              if (!port || (colon != std::string::npos && colon == 0))
                  return "expects [ADDRESS:]PORT, PORT 0-65535, not '" + value + "'";
              if (colon != std::string::npos) options.hartIpAddress = value.substr(0, colon);
              options.hartIpPort = static_cast<std::uint16_t>(*port);
              return {};
          }}},
        {"--no-pty", FlagOption(&ToolOptions::noPty)},
        {"--help", FlagOption(&ToolOptions::help)},
    };
    return rules;
}

}  // namespace

void ToolOptions::applyTo(SimulatorSetup& setup) const
{
    if (deviceId) setup.state.identity.deviceId = *deviceId;
    if (pollAddress) setup.state.identity.pollAddress = *pollAddress;
    if (processValue) setup.process.value = *processValue;
    if (noise) setup.process.noise = *noise;
    FaultSettings& faults = setup.faults;
    for (const auto& [option, fault] :
         {std::pair{&busy, &faults.busy}, std::pair{&badChecksum, &faults.badChecksum},
          std::pair{&burst, &faults.burst}, std::pair{&wrongCommand, &faults.wrongCommand},
          std::pair{&silent, &faults.silent}, std::pair{&commError, &faults.commError}}) {
        if (*option) *fault = **option;
    }
    for (const auto& [command, code] : responses) faults.responseOverrides[command] = code;
    if (writeProtect) setup.state.config.writeProtect = 1;
    if (sensorFailure) faults.sensorFailure = *sensorFailure;
    if (transmitterFailure) faults.transmitterFailure = true;
}

ToolOptionsResult ParseToolOptions(std::span<const std::string> arguments)
{
    ToolOptionsResult result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i] == "-h" ? "--help" : arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto rule = Rules().find(name);
        if (rule == Rules().end()) {
            result.error = "unknown option '" + arguments[i] + "'";
            return result;
        }
        if (rule->second.argument == Argument::None && value) {
            result.error = name + " takes no value";
            return result;
        }
        if (rule->second.argument == Argument::Required && !value) {
            if (i + 1 >= arguments.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        if (const std::string problem = rule->second.apply(value.value_or(""), result.options);
            !problem.empty()) {
            result.error = name + " " + problem;
            return result;
        }
    }
    const ToolOptions& options = result.options;
    if (options.noPty && !options.hartIpPort)
        result.error = "--no-pty needs --hart-ip: the device must be reachable somehow";
    else if (options.multidrop > 0 && options.pollAddress)
        result.error = "--poll-address and --multidrop exclude each other: a multidrop line "
                       "puts its devices at 1..N";
    else if (options.stateFiles.size() > static_cast<std::size_t>(options.deviceCount()))
        result.error = "--state is given " + std::to_string(options.stateFiles.size()) +
                       " times for " + std::to_string(options.deviceCount()) + " device(s)";
    return result;
}

std::string ToolUsage()
{
    return R"(Usage: tarvel4410-sim [options]

Simulates a Тарвел-4410 HART 5 temperature transmitter on a pseudo-terminal, linked as COM<n>
in the port map folder ($TARVEL4410_PORTS_DIR, else ~/.config/Tarvel 4410 Configuration
Tool/ports). Runs until Ctrl+C (SIGINT), SIGTERM or SIGHUP and removes the link when it ends.

  --com N                  link as COM<N> (1-255); default: the lowest free number
  --state FILE             initial state from an INI file (see example-state.ini); with
                           --multidrop once per device, in their order on the line
  --multidrop N            N transmitters (1-15) on the one line at polling addresses 1..N,
                           device ids the given one plus 0..N-1, tags TT-1..TT-N; each
                           answers only its own frames
  --wire-timing            pace the traffic as a 1200-baud HART line carries it
  --device-id ID           24-bit device id, decimal or 0x... (default 0x0A1B2C)
  --poll-address N         polling address 0-15 (default 0); not 0 is multidrop: the loop
                           current stays at 4 mA
  --process-value VALUE    what the sensor sees: deg C for thermometers, mV or Ohm for
                           the electrical inputs (default 25)
  --noise VALUE            spread of the readings around the process value (default 0.05)

Faults (COUNT is a number of requests, or "always"):
  --busy COUNT             answer response code 32 (busy)
  --bad-checksum COUNT     spoil the checksum of the answer
  --burst[=COUNT]          send a burst frame before the answer (default: always)
  --wrong-command[=COUNT]  send an answer to another command first (default: always)
  --silent COUNT           do not answer
  --comm-error COUNT       answer with a communication error report (0x88)
  --response CMD=CODE      command CMD answers response code CODE (repeatable)
  --write-protect          start write protected
  --sensor-failure[=open|short]   the sensor has failed (default: open)
  --xmtr-failure           the electronics have failed (field device malfunction, output
                           at the alarm current, sensor fine)

The line:
  --echo                   every request comes back on the line before the answer, as
                           some modems do
  --garbage N              N noise bytes (0-255) on the line between the request and the
                           answer

HART-IP:
  --hart-ip [ADDR:]PORT    also serve the device as a HART-IP server on UDP and TCP PORT
                           (5094 is the standard one; 0 takes any free port) at the IPv4
                           address ADDR (default 127.0.0.1, loopback only); one session per
                           client
  --no-pty                 serve HART-IP only, no pseudo-terminal and no COM<n> link

  -h, --help               show this text
)";
}

}  // namespace sim
