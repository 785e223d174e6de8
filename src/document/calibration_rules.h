#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

#include "transmitter/transmitter.h"

namespace document {

// The sensor trim's `calibrationType`: the lower point alone, or the lower and then the upper.
enum CalibrationType : std::int32_t { kLowerPointOnly = 0, kBothPoints = 1 };

// Command 48 says the last trim was not applied: the point was far from the reading.
bool HasCalibrationError(const transmitter::AdditionalStatus& status);

// The additional status that forbids a sensor trim. Every condition must hold at once.
bool StatusRefusesTrim(const transmitter::AdditionalStatus& status);

// Whether the trim units suit the sensor type and the units of its range; false is the
// refusal "units not allowed for this sensor type".
bool TrimUnitsAllowed(std::int32_t sensorType, std::int32_t trimUnits, std::int32_t rangeUnits);

// A string-table text whose "%2.2f" takes a current in mA, with the locale's separator.
std::string CurrentMessage(int messageId, float milliamps);

// The two points of the loop trim, whose meter readings are checked when the user leaves
// their fields.
enum class LoopPoint { FourMa, TwentyMa };

struct MeterReadingWarning {
    int messageId;
    bool refocus;  // the focus goes back to the field
};

// The warning for a meter reading the user typed (the value stays stored); none when the
// reading is plausible for the point. The limits themselves pass.
std::optional<MeterReadingWarning> CheckMeterReading(LoopPoint point, const QString& text);

}  // namespace document
