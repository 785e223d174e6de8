#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "simulator/fault_settings.h"
#include "simulator/simulator_setup.h"

namespace sim {

// The command line of tarvel4410-sim. Options given on the command line win over the state file.
struct ToolOptions {
    int comNumber = 0;  // 0: the lowest free number
    // One for each device, in their order on the line; devices beyond them start as new.
    std::vector<std::string> stateFiles;
    // Transmitters on one multidrop line (polling addresses 1..N); 0 for the one device.
    int multidrop = 0;
    bool wireTiming = false;
    bool help = false;
    // The line itself: every request heard back before the answer, noise bytes between frames.
    bool echo = false;
    int garbageBytes = 0;
    // HART-IP on UDP and TCP at this address and port (0: any free one), beside the
    // pseudo-terminal or, with noPty, instead of it.
    std::optional<std::uint16_t> hartIpPort;
    std::string hartIpAddress = "127.0.0.1";
    bool noPty = false;

    std::optional<std::uint32_t> deviceId;
    std::optional<std::uint8_t> pollAddress;
    std::optional<float> processValue;
    std::optional<float> noise;
    std::optional<FaultCount> busy;
    std::optional<FaultCount> badChecksum;
    std::optional<FaultCount> burst;
    std::optional<FaultCount> wrongCommand;
    std::optional<FaultCount> silent;
    std::optional<FaultCount> commError;
    std::map<std::uint8_t, std::uint8_t> responses;
    bool writeProtect = false;
    std::optional<SensorFailure> sensorFailure;
    bool transmitterFailure = false;

    void applyTo(SimulatorSetup& setup) const;
    // How many devices the line carries.
    int deviceCount() const { return multidrop > 0 ? multidrop : 1; }
};

struct ToolOptionsResult {
    ToolOptions options;
    std::string error;  // empty when the command line was understood
};

// Takes the arguments after the program name. Options accept "--name value" and "--name=value".
ToolOptionsResult ParseToolOptions(std::span<const std::string> arguments);
std::string ToolUsage();

}  // namespace sim
