#include "document/calibration_rules.h"

#include "document/value_format.h"
#include "resources/string_table.h"

namespace document {
namespace {

using transmitter::AdditionalStatus;

constexpr std::int32_t kOhmInput = 0;
constexpr std::int32_t kMillivoltInput = 128;

bool IsResistanceThermometer(std::int32_t sensorType)
{
    return sensorType >= 1 && sensorType <= 15;
}
bool IsThermocouple(std::int32_t sensorType) { return sensorType >= 129 && sensorType <= 143; }

struct MeterBand {
    float lowestMa;
    float highestMa;
    int emptyMessage;
    int tooHighMessage;
    int tooLowMessage;
};

// Compared in single precision, as the values are stored, so that 3.8 and 4.2 pass.
constexpr MeterBand kFourMaBand{3.8f, 4.2f, 1278, 1279, 1280};
constexpr MeterBand kTwentyMaBand{19.5f, 20.5f, 1281, 1282, 1283};

}  // namespace

bool HasCalibrationError(const AdditionalStatus& status)
{
    return (status.bytes[2] & 0x08) != 0 && (status.bytes[3] & 0x04) != 0;
}

bool StatusRefusesTrim(const AdditionalStatus& status)
{
    const std::uint8_t* b = status.bytes;
    return b[0] != 0 && b[1] != 0 && b[4] != 0 && (b[2] & 0x80) != 0 && (b[3] & 0x01) != 0 &&
           (b[3] & 0x08) != 0 && (b[3] & 0x10) != 0;
}

bool TrimUnitsAllowed(std::int32_t s, std::int32_t t, std::int32_t r)
{
    using namespace transmitter;
    if (s == kOhmInput && t != kUnitOhm) return false;
    if (s == kMillivoltInput && t != kUnitMillivolt) return false;
    if (IsResistanceThermometer(s) && (t == kUnitMillivolt || (r == kUnitOhm && t != kUnitOhm)))
        return false;
    if (IsThermocouple(s) && (t == kUnitOhm || (r == kUnitMillivolt && t != kUnitMillivolt)))
        return false;
    return true;
}

std::string CurrentMessage(int messageId, float milliamps)
{
    std::string text(tarvel::LoadText(messageId));
    const std::string placeholder = "%2.2f";
    const auto at = text.find(placeholder);
    if (at != std::string::npos)
        text.replace(at, placeholder.size(), FormatValue(milliamps, 2).toStdString());
    return text;
}

std::optional<MeterReadingWarning> CheckMeterReading(LoopPoint point, const QString& text)
{
    const MeterBand& band = point == LoopPoint::FourMa ? kFourMaBand : kTwentyMaBand;
    if (text.isEmpty()) return MeterReadingWarning{band.emptyMessage, false};
    const float value = ParseValueText(text);
    if (value > band.highestMa) return MeterReadingWarning{band.tooHighMessage, true};
    if (value < band.lowestMa) return MeterReadingWarning{band.tooLowMessage, true};
    return std::nullopt;
}

}  // namespace document
