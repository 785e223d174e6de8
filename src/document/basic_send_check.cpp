#include "document/basic_send_check.h"

#include <bit>
#include <cmath>

#include "document/basic_field_rules.h"
#include "document/basic_page_lists.h"
#include "document/basic_page_view.h"
#include "document/send_refusal.h"
#include "resources/string_ids/document.h"
#include "transmitter/sensor_table.h"

namespace document {
namespace {

using transmitter::IsNotSet;
using transmitter::kSensorNotSet;
using transmitter::kUnitsNotSet;

// Single-precision constants, named by their bits.
constexpr float kMinimumSpan = std::bit_cast<float>(std::uint32_t{0x3C23D70A});     // 0.01
constexpr float kLimitTolerance = std::bit_cast<float>(std::uint32_t{0x3BA3D70A});  // 0.005

using tarvel::kAboveUpperLimit;
using tarvel::kBelowLowerLimit;
using tarvel::kConnectionWithoutSensor;
using tarvel::kMessageSpanTooSmall;
using tarvel::kMissing20mA;
using tarvel::kMissing4mA;
using tarvel::kPointsWithoutChoices;
using tarvel::kSensorWithoutConnection;
using tarvel::kUnitsWithoutSensor;

}  // namespace

BasicSendValues BasicSendValuesFor(const BasicSelection& selection, const PageValues& values)
{
    BasicSendValues v;
    v.tag = values.storedTag;
    v.sensorType = transmitter::SensorCodeFromIndex(selection.sensorIndex);
    v.sensorConnection = ConnectionCodeFromIndex(selection.connectionIndex);
    v.unitCode = UnitCodeFromIndex(selection.sensorIndex, selection.unitsIndex);
    v.lowerRangeValue = values.lowerRangeValue;
    v.upperRangeValue = values.upperRangeValue;
    // The limits the page shows beside the points, in the points' unit. The stored limits
    // may be in another unit: the sensor calibration stores the transmitter's own.
    const UnitsDisplay shown = UnitsDisplayFor(selection.sensorIndex, selection.unitsIndex);
    v.lowerSensorLimit = shown.lowerSensorLimit;
    v.upperSensorLimit = shown.upperSensorLimit;
    return v;
}

BasicSendValues BasicSendValuesAsShown(const PageValues& values)
{
    const BasicPageView view = BasicPageViewOf(values);
    return BasicSendValuesFor({view.sensorIndex, view.connectionIndex, view.unitsIndex}, values);
}

bool ValidateBasicSend(const BasicSendValues& v, hart::UserInteraction& ui)
{
    if (!CheckTagToSend(v.tag, ui)) return false;
    const bool noSensor = v.sensorType == kSensorNotSet;
    const bool noConnection = v.sensorConnection == kSensorNotSet;
    const bool noUnit = v.unitCode == kUnitsNotSet;
    if (!noUnit && (noSensor || noConnection)) return RefuseSend(ui, kUnitsWithoutSensor);
    if (!noSensor && noConnection) return RefuseSend(ui, kSensorWithoutConnection);
    if (noSensor && !noConnection) return RefuseSend(ui, kConnectionWithoutSensor);

    const float lower = v.lowerRangeValue;
    const float upper = v.upperRangeValue;
    if (!IsNotSet(lower) && IsNotSet(upper)) return RefuseSend(ui, kMissing20mA);
    if (IsNotSet(lower) && !IsNotSet(upper)) return RefuseSend(ui, kMissing4mA);
    if (IsNotSet(lower) && IsNotSet(upper)) return true;

    // Either order of the points is allowed; only the span's size matters.
    const float span = std::fabs(upper - lower);
    if (span < kMinimumSpan) return RefuseSend(ui, kMessageSpanTooSmall);
    if (noUnit || noSensor || noConnection) return RefuseSend(ui, kPointsWithoutChoices);
    // A limit that is not set compares false, so it lets the point pass.
    if (v.lowerSensorLimit > lower && v.lowerSensorLimit - lower > kLimitTolerance)
        return RefuseSend(ui, kBelowLowerLimit);
    if (upper > v.upperSensorLimit && upper - v.upperSensorLimit > kLimitTolerance)
        return RefuseSend(ui, kAboveUpperLimit);
    return true;
}

bool ValidateBasicPage(const CVeskDoc& doc, hart::UserInteraction& ui)
{
    return ValidateBasicSend(BasicSendValuesAsShown(PageValuesOf(doc)), ui);
}

}  // namespace document
