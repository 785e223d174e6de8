#include "hart/command_table.h"
#include "transmitter/range_limits.h"
#include "transmitter/transmitter.h"

namespace transmitter {
namespace {

constexpr int kLowerRangeTooHigh = 9;
constexpr int kLowerRangeTooLow = 10;
constexpr int kUpperRangeTooHigh = 11;
constexpr int kUpperRangeTooLow = 12;

}  // namespace

using namespace hart;

// The range values go out together with the transmitter's current range units; a value
// the user left unset keeps the transmitter's current one. Unlike the other steps, the
// warning result 8 counts as a failure for all three commands.
int CTransmitter::WriteRangeValues()
{
    if (IsNotSet(upperRangeValue) && IsNotSet(lowerRangeValue)) return 1;

    // After a refusal the limits are read again, so the page shows what the range was
    // checked against.
    auto refused = [this] {
        StoreSensorLimits(ReadLimits(Accept::ZeroOnly));
        return 0;
    };
    auto flagEverySentValue = [this] {
        upperRangeValueFailed = FlagIfSet(upperRangeValue);
        lowerRangeValueFailed = FlagIfSet(lowerRangeValue);
    };

    if (!TransactOrReport(CMD_READ_RANGE, {}, Accept::ZeroOnly).ok) {
        flagEverySentValue();
        return refused();
    }
    std::int32_t units = kUnitsNotSet;
    float upper = kNotSetFloat;
    float lower = kNotSetFloat;
    DecodeResponse(CMD_READ_RANGE, {FieldRef{}, FieldRef{}, &units, &upper, &lower});
    upperRangeValueFailed = lowerRangeValueFailed = 0;

    const SensorLimitsReading limits = ReadSensorLimits();
    if (!limits.ok) return 0;

    if (!IsNotSet(upperRangeValue)) upper = upperRangeValue;
    if (!IsNotSet(lowerRangeValue)) lower = lowerRangeValue;
    if (sensorLimitUnits == limits.units) {
        lower = SnapLowerOntoLimit(lower, limits.lower);
        upper = SnapUpperOntoLimit(upper, limits.upper);
    }

    const Exchange written =
        TransactOrReport(CMD_WRITE_RANGE, {&units, &upper, &lower}, Accept::ZeroOnly);
    if (written.ok) {
        DecodeResponse(CMD_WRITE_RANGE, {&units, &upper, &lower});
        upperRangeValueFailed = lowerRangeValueFailed = 0;
        return 1;
    }
    switch (written.result) {
    case kLowerRangeTooHigh:
    case kLowerRangeTooLow:
        lowerRangeValueFailed = 1;
        upperRangeValueFailed = 0;
        break;
    case kUpperRangeTooHigh:
    case kUpperRangeTooLow:
        upperRangeValueFailed = 1;
        lowerRangeValueFailed = 0;
        break;
    default: flagEverySentValue(); break;
    }
    return refused();
}

}  // namespace transmitter
