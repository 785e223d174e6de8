#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "simulator/command_reply.h"
#include "simulator/device_model.h"

namespace sim {

// Configuration writes: polling address (6), message (17), tag (18), final assembly number
// (19), damping (34), range (35), range units (44), sensor (141), line filter (151), alarm and
// saturation levels (155), alarm direction (162) and write protection (195). Each validates,
// stores and echoes what it stored.
class WriteCommands {
public:
    // Accepted bands of the output levels, mA (both ends included). Besides its band, the low
    // alarm may not lie above the low saturation, nor the high saturation above the high alarm.
    struct Band {
        float lowest;
        float highest;
        constexpr bool contains(float value) const { return value >= lowest && value <= highest; }
    };
    static constexpr Band kHighAlarmBand{21.0f, 23.0f};
    static constexpr Band kLowAlarmBand{3.5f, 3.8f};
    static constexpr Band kHighSaturationBand{20.5f, 21.0f};
    static constexpr Band kLowSaturationBand{3.7f, 3.9f};
    // HART 5 polling addresses; 0 is the one that drives the loop current.
    static constexpr std::uint8_t kHighestPollAddress = 15;
    static constexpr float kMinimumDampingS = 0.5f;
    static constexpr float kMaximumDampingS = 32.0f;
    // Range values this close outside a limit still count as at the limit (unit conversions
    // in single precision differ in the last digits).
    static constexpr float kLimitTolerance = 0.001f;

    explicit WriteCommands(DeviceModel& model);

    // Asked before command 6 takes an address: true when another device on the line has it.
    std::function<bool(std::uint8_t)> pollAddressTaken;

    std::optional<CommandReply> handle(std::uint8_t command, std::span<const std::uint8_t> data);

private:
    CommandReply writePollAddress(std::span<const std::uint8_t> data);
    CommandReply writeMessage(std::span<const std::uint8_t> data);
    CommandReply writeFinalAssemblyNumber(std::span<const std::uint8_t> data);
    CommandReply writeTag(std::span<const std::uint8_t> data);
    CommandReply writeDamping(std::span<const std::uint8_t> data);
    CommandReply writeRange(std::span<const std::uint8_t> data);
    CommandReply writeRangeUnits(std::span<const std::uint8_t> data);
    CommandReply writeSensor(std::span<const std::uint8_t> data);
    CommandReply writeLineFilter(std::span<const std::uint8_t> data);
    CommandReply writeLevels(std::span<const std::uint8_t> data);
    CommandReply writeAlarmSelect(std::span<const std::uint8_t> data);
    CommandReply writeProtection(std::span<const std::uint8_t> data);

    // Brings the range in line with a newly chosen sensor; true when anything had to change.
    bool fitRangeToSensor();

    DeviceModel& m_model;
};

}  // namespace sim
