#pragma once

#include <optional>
#include <string_view>

namespace modem {

// The COM number in a channel name "HART<n>", n = 1…255 written without sign or leading
// zero; nullopt for anything else.
std::optional<int> ParseChannelName(std::string_view name);

}  // namespace modem
