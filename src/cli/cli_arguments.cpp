#include "cli/cli_arguments.h"

#include <charconv>

#include "hart/link_environment.h"

namespace cli {

std::string Argument::syntax() const
{
    const std::string words =
        flag.empty() || valueName.empty() ? flag + valueName : flag + " " + valueName;
    return optional ? "[" + words + "]" : words;
}

bool ToText(const std::string& word, std::string& value)
{
    value = word;
    return true;
}

bool ToNumber(const std::string& word, int& value)
{
    int number = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, error] = std::from_chars(word.data(), end, number);
    if (error != std::errc{} || ptr != end) return false;
    value = number;
    return true;
}

bool ToPortNumber(const std::string& word, int& value)
{
    int number = 0;
    if (!ToNumber(word, number) || number < 1 || number > 255) return false;
    value = number;
    return true;
}

bool ToPollingAddress(const std::string& word, int& value)
{
    int number = 0;
    if (!ToNumber(word, number) || number < 0 || number > hart::kHighestPollingAddress)
        return false;
    value = number;
    return true;
}

bool ToPositiveCount(const std::string& word, int& value)
{
    int number = 0;
    if (!ToNumber(word, number) || number < 1) return false;
    value = number;
    return true;
}

bool ToMilliampsOrOff(const std::string& word, std::optional<float>& value)
{
    if (word == "off") {
        value.reset();
        return true;
    }
    // The user's decimal comma is taken as well as the point; from_chars reads only the point.
    std::string number = word;
    for (char& ch : number)
        if (ch == ',') ch = '.';
    const bool plain = !number.empty() &&
                       number.find_first_not_of("0123456789.") == std::string::npos &&
                       number.find('.') == number.rfind('.') && number != ".";
    if (!plain) return false;
    float milliamps = 0.0f;
    const auto [ptr, error] =
        std::from_chars(number.data(), number.data() + number.size(), milliamps);
    if (error != std::errc{} || ptr != number.data() + number.size() || !(milliamps > 0.0f))
        return false;
    value = milliamps;
    return true;
}

}  // namespace cli
