#pragma once

#include <optional>

namespace hart {

// The string id of the message for a failed transaction result of a command index, or
// nothing for the combinations that stay silent.
std::optional<int> ResponseMessageId(int commandIndex, int result);

}  // namespace hart
