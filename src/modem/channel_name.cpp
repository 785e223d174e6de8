#include "modem/channel_name.h"

#include <charconv>

#include "serial/port_map.h"

namespace modem {

namespace {

constexpr std::string_view kPrefix = "HART";

}  // namespace

std::optional<int> ParseChannelName(std::string_view name)
{
    if (!name.starts_with(kPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.empty() || digits.front() < '1' || digits.front() > '9') {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        number > serial::kLastComNumber) {
        return std::nullopt;
    }
    return number;
}

}  // namespace modem
