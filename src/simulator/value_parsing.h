#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "simulator/fault_settings.h"

// Reading the values a user writes in a state file or on the command line. Lenient about
// spaces and case; anything it does not understand is nullopt, never a guess.
namespace sim {

std::string Trimmed(std::string_view text);
std::string LowerCase(std::string_view text);

// Decimal, or hexadecimal with 0x; an optional sign.
std::optional<long long> ParseInteger(std::string_view text);
std::optional<long long> ParseIntegerIn(std::string_view text, long long lowest, long long highest);
// A finite decimal number; a comma is taken as the decimal separator too.
std::optional<float> ParseNumber(std::string_view text);
// on/off, yes/no, true/false, 1/0.
std::optional<bool> ParseSwitch(std::string_view text);
// A number of occasions, or "always".
std::optional<FaultCount> ParseFaultCount(std::string_view text);
// "CMD=CODE", both 0–255.
std::optional<std::pair<std::uint8_t, std::uint8_t>> ParseResponseOverride(std::string_view text);
// none, open, short.
std::optional<SensorFailure> ParseSensorFailure(std::string_view text);

struct CalendarDate {
    int day;
    int month;
    int year;
};
// DD.MM.YYYY with a real day of the month.
std::optional<CalendarDate> ParseDate(std::string_view text);

}  // namespace sim
