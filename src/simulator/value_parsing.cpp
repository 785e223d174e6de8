#include "simulator/value_parsing.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sim {

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string LowerCase(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return result;
}

std::optional<long long> ParseInteger(std::string_view text)
{
    std::string s = LowerCase(Trimmed(text));
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && s[1] == 'x') {
        base = 16;
        s.erase(0, 2);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<long long> ParseIntegerIn(std::string_view text, long long lowest, long long highest)
{
    const auto value = ParseInteger(text);
    if (!value || *value < lowest || *value > highest) return std::nullopt;
    return value;
}

std::optional<float> ParseNumber(std::string_view text)
{
    std::string s = Trimmed(text);
    std::replace(s.begin(), s.end(), ',', '.');
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> ParseSwitch(std::string_view text)
{
    const std::string s = LowerCase(Trimmed(text));
    if (s == "on" || s == "yes" || s == "true" || s == "1") return true;
    if (s == "off" || s == "no" || s == "false" || s == "0") return false;
    return std::nullopt;
}

std::optional<FaultCount> ParseFaultCount(std::string_view text)
{
    if (LowerCase(Trimmed(text)) == "always") return FaultCount::always();
    const auto count = ParseIntegerIn(text, 0, 1'000'000'000);
    if (!count) return std::nullopt;
    return FaultCount::times(static_cast<int>(*count));
}

std::optional<std::pair<std::uint8_t, std::uint8_t>> ParseResponseOverride(std::string_view text)
{
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const auto command = ParseIntegerIn(text.substr(0, equals), 0, 255);
    const auto code = ParseIntegerIn(text.substr(equals + 1), 0, 255);
    if (!command || !code) return std::nullopt;
    return std::pair{static_cast<std::uint8_t>(*command), static_cast<std::uint8_t>(*code)};
}

std::optional<SensorFailure> ParseSensorFailure(std::string_view text)
{
    const std::string s = LowerCase(Trimmed(text));
    if (s == "none" || s == "no" || s == "off") return SensorFailure::None;
    if (s == "open") return SensorFailure::Open;
    if (s == "short") return SensorFailure::Short;
    return std::nullopt;
}

std::optional<CalendarDate> ParseDate(std::string_view text)
{
    const std::string s = Trimmed(text);
    const auto firstDot = s.find('.');
    const auto secondDot =
        firstDot == std::string::npos ? std::string::npos : s.find('.', firstDot + 1);
    if (secondDot == std::string::npos) return std::nullopt;
    const auto day = ParseIntegerIn(std::string_view(s).substr(0, firstDot), 1, 31);
    const auto month =
        ParseIntegerIn(std::string_view(s).substr(firstDot + 1, secondDot - firstDot - 1), 1, 12);
    const auto year = ParseIntegerIn(std::string_view(s).substr(secondDot + 1), 1900, 2255);
    if (!day || !month || !year) return std::nullopt;
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    const int days = *month == 2 && !leap ? 28 : kDaysInMonth[*month - 1];
    if (*day > days) return std::nullopt;
    return CalendarDate{static_cast<int>(*day), static_cast<int>(*month), static_cast<int>(*year)};
}

}  // namespace sim
