#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "simulator/command_reply.h"
#include "simulator/device_model.h"

namespace sim {

// Sensor calibration: upper and lower trim points (130, 131), calibration information (142)
// and calibration mode (145). Trim points and bounds travel in the calibration units the
// master chooses: temperature units for thermometers, mV for thermocouples and the millivolt
// input, ohm for resistance thermometers and the ohm input.
class CalibrationCommands {
public:
    // A trim point further than this share of the sensor's span from what the sensor reads is
    // not applied: the calibration error bits of command 48 are set instead (the command
    // itself succeeds, as the master learns the outcome from the additional status).
    static constexpr float kFarTrimShareOfSpan = 0.02f;

    explicit CalibrationCommands(DeviceModel& model);

    std::optional<CommandReply> handle(std::uint8_t command, std::span<const std::uint8_t> data);

private:
    enum class TrimPosition { Upper, Lower };

    CommandReply trimPoint(std::span<const std::uint8_t> data, TrimPosition position);
    CommandReply calibrationInformation(std::span<const std::uint8_t> data) const;
    CommandReply calibrationMode(std::span<const std::uint8_t> data);

    DeviceModel& m_model;
};

}  // namespace sim
