#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "simulator/command_reply.h"
#include "simulator/device_model.h"

namespace sim {

// Commands that only report: identification (0, 249; 11 is the Device's), process values (1,
// 2, 3, 33), configuration (12, 13, 14, 15, 16, 140, 150, 189), additional status (48) and the
// parameter registers (139).
class ReadCommands {
public:
    explicit ReadCommands(DeviceModel& model);

    // nullopt when the command is not one of this group.
    std::optional<CommandReply> handle(std::uint8_t command,
                                       std::span<const std::uint8_t> data) const;

private:
    CommandReply identification() const;
    CommandReply primaryVariable() const;
    CommandReply currentAndPercent() const;
    CommandReply message() const;
    CommandReply processValues() const;
    CommandReply deviceVariables(std::span<const std::uint8_t> data) const;
    CommandReply tagDescriptorDate() const;
    CommandReply sensorInformation() const;
    CommandReply outputInformation() const;
    CommandReply finalAssemblyNumber() const;
    CommandReply additionalStatus() const;
    CommandReply registerAccess(std::span<const std::uint8_t> data) const;
    CommandReply sensorConfiguration(std::span<const std::uint8_t> data) const;
    CommandReply lineFilter() const;
    CommandReply alarmLevels() const;

    struct VariableValue {
        std::uint8_t units;
        float value;
    };
    std::optional<VariableValue> deviceVariable(std::uint8_t code) const;
    std::optional<std::vector<std::uint8_t>> registerData(std::uint8_t registerNumber) const;

    DeviceModel& m_model;
};

}  // namespace sim
