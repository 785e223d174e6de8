#include "hart/command_table.h"
#include "transmitter/failure_indication.h"
#include "transmitter/tag_text.h"
#include "transmitter/transmitter.h"

namespace transmitter {

using namespace hart;

int CTransmitter::ReadTagAndSensor()
{
    if (!TransactOrReport(CMD_READ_TAG).ok) {
        for (char16_t& ch : tag) ch = u'\0';
        xmtrAsmDay = xmtrAsmMonth = xmtrAsmYear = 0;
        return 0;
    }
    NarrowTag narrow{};
    DecodeResponse(CMD_READ_TAG,
                   {narrow.data(), FieldRef{}, &xmtrAsmDay, &xmtrAsmMonth, &xmtrAsmYear});
    WidenTag(narrow, tag);
    tagFailed = 0;

    std::int32_t sensorSelector = 0;
    if (!TransactOrReport(CMD_READ_SENSOR_CONFIG, {&sensorSelector}).ok) {
        sensorType = sensorConnection = kSensorNotSet;
        return 0;
    }
    std::uint8_t echo = 0;
    DecodeResponse(CMD_READ_SENSOR_CONFIG, {&echo, &sensorType, &sensorConnection});
    sensorTypeFailed = sensorConnectionFailed = 0;
    return 1;
}

int CTransmitter::ReadRangeAndLimits()
{
    if (!TransactOrReport(CMD_READ_RANGE).ok) {
        lowerRangeValue = upperRangeValue = damping = kNotSetFloat;
        rangeUnits = kUnitsNotSet;
        alarmSelect = writeProtect = kChoiceNotSet;
        return 0;
    }
    DecodeResponse(CMD_READ_RANGE, {&alarmSelect, FieldRef{}, &rangeUnits, &upperRangeValue,
                                    &lowerRangeValue, &damping, &writeProtect});
    alarmSelectFailed = rangeUnitsFailed = upperRangeValueFailed = lowerRangeValueFailed = 0;
    dampingFailed = writeProtectFailed = 0;

    return StoreSensorLimits(ReadLimits(Accept::ZeroOrWarning));
}

int CTransmitter::ReadFilterAndAssemblyNumber()
{
    if (!TransactOrReport(CMD_READ_LINE_FILTER).ok) {
        lineFilter = kChoiceNotSet;
        return 0;
    }
    DecodeResponse(CMD_READ_LINE_FILTER, {&lineFilter});
    lineFilterFailed = 0;

    if (!TransactOrReport(CMD_READ_ASSEMBLY_NUMBER).ok) {
        finalAssemblyNumber = 0;
        return 0;
    }
    DecodeResponse(CMD_READ_ASSEMBLY_NUMBER, {&finalAssemblyNumber});
    finalAssemblyNumberFailed = 0;
    return 1;
}

int CTransmitter::ReadAlarmLevelsAndVariables()
{
    if (!TransactOrReport(CMD_READ_ALARM_LEVELS).ok) {
        highAlmVal = lowAlmVal = highSatVal = lowSatVal = kNotSetFloat;
        return 0;
    }
    DecodeResponse(CMD_READ_ALARM_LEVELS, {&highAlmVal, &lowAlmVal, &highSatVal, &lowSatVal});
    highAlmValFailed = lowAlmValFailed = highSatValFailed = lowSatValFailed = 0;

    if (!ReadTwoVariables(Accept::ZeroOrWarning).ok) {
        xmtrTempUnits = sensorTempUnits = kUnitsNotSet;
        xmtrTemp = sensorTemp = kNotSetFloat;
        return 0;
    }
    DecodeResponse(CMD_READ_VARIABLES, {FieldRef{}, &xmtrTempUnits, &xmtrTemp, FieldRef{},
                                        &sensorTempUnits, &sensorTemp});
    xmtrTempUnitsFailed = xmtrTempFailed = sensorTempUnitsFailed = sensorTempFailed = 0;

    if (!TransactOrReport(CMD_READ_LOOP_CURRENT).ok) {
        loopCurrent = kNotSetFloat;
        return 0;
    }
    DecodeResponse(CMD_READ_LOOP_CURRENT, {&loopCurrent});
    loopCurrentFailed = 0;
    return 1;
}

int CTransmitter::ReadFailureStatus()
{
    if (!TransactOrReport(CMD_READ_ADDITIONAL_STATUS).ok) {
        sensorFailure = xmtrFailure = 0;
        return 0;
    }
    std::uint8_t sensorStatus = 0, status = 0;
    DecodeResponse(CMD_READ_ADDITIONAL_STATUS,
                   {FieldRef{}, FieldRef{}, FieldRef{}, FieldRef{}, &sensorStatus});
    GetStatus(nullptr, &status);
    const FailureIndication failure = FailureFrom(sensorStatus, status);
    sensorFailure = failure.sensor;
    xmtrFailure = failure.xmtr;
    sensorFailureFailed = xmtrFailureFailed = 0;
    return 1;
}

}  // namespace transmitter
