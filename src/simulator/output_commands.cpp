#include "simulator/output_commands.h"

#include <cmath>

#include "simulator/wire_format.h"

namespace sim {

namespace {

// Commands 40, 45, 46.
constexpr std::uint8_t kLoopCurrentNotActive = 11;
// Commands 45, 46.
constexpr std::uint8_t kWrongModeOrLevel = 9;

constexpr float kTrimZeroMa = 4.0f;
constexpr float kTrimGainMa = 20.0f;

}  // namespace

OutputCommands::OutputCommands(DeviceModel& model) : m_model(model) {}

std::optional<CommandReply> OutputCommands::handle(std::uint8_t command,
                                                   std::span<const std::uint8_t> data)
{
    LoopOutput& output = m_model.state().output;
    switch (command) {
    case 40: return setFixedCurrent(data);
    case 42: return reset();
    case 45: return trim(data, kTrimZeroMa, output.correction4Ma);
    case 46: return trim(data, kTrimGainMa, output.correction20Ma);
    default: return std::nullopt;
    }
}

CommandReply OutputCommands::setFixedCurrent(std::span<const std::uint8_t> data)
{
    FieldReader in(data);
    if (!in.has(4)) return CommandReply::error(response::kTooFewDataBytes);
    if (m_model.multidrop()) return CommandReply::error(kLoopCurrentNotActive);
    const float current = in.floatValue();
    if (std::isnan(current)) return CommandReply::error(response::kInvalidSelection);
    LoopOutput& output = m_model.state().output;
    const DeviceConfig& config = m_model.state().config;
    if (current == 0.0f) {
        output.fixedMode = false;
    } else {
        if (current < config.lowAlarmMa) return CommandReply::error(response::kTooSmall);
        if (current > config.highAlarmMa) return CommandReply::error(response::kTooLarge);
        output.fixedMode = true;
        output.fixedCurrentMa = current;
    }
    std::vector<std::uint8_t> out;
    AppendFloat(out, current);
    return CommandReply::success(std::move(out));
}

CommandReply OutputCommands::reset()
{
    CommandReply reply = CommandReply::success({});
    reply.restartAfterAnswer = true;
    return reply;
}

CommandReply OutputCommands::trim(std::span<const std::uint8_t> data, float pointMa,
                                  float& correction)
{
    FieldReader in(data);
    if (!in.has(4)) return CommandReply::error(response::kTooFewDataBytes);
    if (m_model.multidrop()) return CommandReply::error(kLoopCurrentNotActive);
    const LoopOutput& output = m_model.state().output;
    if (!output.fixedMode || std::fabs(output.fixedCurrentMa - pointMa) > kTrimPointToleranceMa)
        return CommandReply::error(kWrongModeOrLevel);
    const float measured = in.floatValue();
    if (std::isnan(measured)) return CommandReply::error(response::kInvalidSelection);
    if (measured > pointMa + kMaximumTrimDeviationMa)
        return CommandReply::error(response::kTooLarge);
    if (measured < pointMa - kMaximumTrimDeviationMa)
        return CommandReply::error(response::kTooSmall);
    // The meter shows what the output really drives: shift the output by the difference.
    correction += measured - pointMa;
    std::vector<std::uint8_t> out;
    AppendFloat(out, measured);
    return CommandReply::success(std::move(out));
}

}  // namespace sim
