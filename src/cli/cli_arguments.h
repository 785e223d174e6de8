#pragma once

#include <functional>
#include <optional>
#include <string>

namespace cli {

// One argument of a command, bound to a typed member of the command object: the usage line
// is written from it and the command's words are converted by it, once.
struct Argument {
    std::string flag;       // the word that introduces it ("--pdf"); empty for a word in its place
    std::string valueName;  // "FILE", "N"; empty for a flag standing alone
    bool optional = false;
    std::string expected;  // what a value must be, for the usage error
    // Converts the value's word into the member; false when the word is no such value.
    std::function<bool(const std::string&)> store;
    bool namesFile = false;  // the value is a file the command reads or writes

    // As the usage line shows it: "FILE", "[FILE]", "--pdf OUT", "[--cycles N]".
    std::string syntax() const;
};

// Converters: true and the value set when the word is one.
bool ToText(const std::string& word, std::string& value);
// A whole number, the word all digits (and a sign).
bool ToNumber(const std::string& word, int& value);
// A COM port number, 1 to 255.
bool ToPortNumber(const std::string& word, int& value);
// A HART polling address, 0 to 15.
bool ToPollingAddress(const std::string& word, int& value);
bool ToPositiveCount(const std::string& word, int& value);
// A current in mA above 0: digits with at most one decimal point or comma; "off" is no current.
bool ToMilliampsOrOff(const std::string& word, std::optional<float>& value);

template <typename T>
using Converter = bool (*)(const std::string&, T&);

template <typename T>
Argument Value(std::string valueName, T& member, Converter<T> convert, std::string expected = {})
{
    return {{},
            std::move(valueName),
            false,
            std::move(expected),
            [&member, convert](const std::string& word) { return convert(word, member); }};
}

template <typename T>
Argument OptionalValue(std::string valueName, std::optional<T>& member, Converter<T> convert,
                       std::string expected = {})
{
    return {{},
            std::move(valueName),
            true,
            std::move(expected),
            [&member, convert](const std::string& word) {
                T value{};
                if (!convert(word, value)) return false;
                member = std::move(value);
                return true;
            }};
}

// A value given after its flag: "--pdf OUT".
inline Argument AfterFlag(std::string flag, Argument value)
{
    value.flag = std::move(flag);
    return value;
}

// A value that names a file ("-" for a standard stream where the command offers it).
inline Argument FileValue(std::string valueName, std::string& member)
{
    Argument value = Value(std::move(valueName), member, ToText);
    value.namesFile = true;
    return value;
}

inline Argument OptionalFileValue(std::string valueName, std::optional<std::string>& member)
{
    Argument value = OptionalValue(std::move(valueName), member, ToText);
    value.namesFile = true;
    return value;
}

// A flag on its own, "[--validate]": the member is true when it is given.
inline Argument Switch(std::string flag, bool& member)
{
    return {std::move(flag), {}, true, {}, [&member](const std::string&) {
                member = true;
                return true;
            }};
}

}  // namespace cli
