#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "simulator/command_reply.h"
#include "simulator/device_model.h"

namespace sim {

// The analog output: fixed current mode (40), device reset (42) and the 4 mA / 20 mA
// trims (45, 46).
class OutputCommands {
public:
    // A meter reading further than this from the forced current is refused (3 above, 4 below).
    static constexpr float kMaximumTrimDeviationMa = 0.5f;
    // The forced current counts as 4 mA / 20 mA when this close.
    static constexpr float kTrimPointToleranceMa = 0.001f;

    explicit OutputCommands(DeviceModel& model);

    std::optional<CommandReply> handle(std::uint8_t command, std::span<const std::uint8_t> data);

private:
    CommandReply setFixedCurrent(std::span<const std::uint8_t> data);
    CommandReply reset();
    CommandReply trim(std::span<const std::uint8_t> data, float pointMa, float& correction);

    DeviceModel& m_model;
};

}  // namespace sim
