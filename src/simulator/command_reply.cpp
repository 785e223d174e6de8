#include "simulator/command_reply.h"

namespace sim {

CommandReply CommandReply::success(std::vector<std::uint8_t> data)
{
    return CommandReply{response::kSuccess, std::move(data), false};
}

CommandReply CommandReply::warning(std::vector<std::uint8_t> data)
{
    return CommandReply{response::kWarning, std::move(data), false};
}

CommandReply CommandReply::error(std::uint8_t responseCode)
{
    return CommandReply{responseCode, {}, false};
}

bool CommandReply::carriesData() const
{
    return responseCode == response::kSuccess || responseCode == response::kWarning;
}

}  // namespace sim
