#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {

using namespace hart;

// Every operation here counts only result 0 as success.

bool CTransmitter::WriteCalibrationMode()
{
    if (calibrationMode == kChoiceNotSet) return true;
    std::int32_t selector = 0;
    if (!TransactOrReport(CMD_WRITE_CALIBRATION_MODE, {&selector, &calibrationMode},
                          Accept::ZeroOnly)
             .ok)
        return false;
    DecodeResponse(CMD_WRITE_CALIBRATION_MODE, {FieldRef{}, &calibrationMode});
    return true;
}

// The answer overwrites both trim points; a caller keeping a point the user entered saves
// it before the call.
bool CTransmitter::ReadCalibrationInfo()
{
    if (trimUnits == kUnitsNotSet) return true;
    std::int32_t selector = 0;
    if (!TransactOrReport(CMD_READ_CALIBRATION, {&selector, &trimUnits}, Accept::ZeroOnly).ok) {
        trimUnits = kUnitsNotSet;
        calibrationMode = kChoiceNotSet;
        calUpperBound = calLowerBound = trimUpperPoint = trimLowerPoint = kNotSetFloat;
        return false;
    }
    DecodeResponse(CMD_READ_CALIBRATION, {FieldRef{}, &trimUnits, &calibrationMode, &calUpperBound,
                                          &calLowerBound, &trimUpperPoint, &trimLowerPoint});
    return true;
}

bool CTransmitter::TrimSensorPoint(int commandIndex, float& point)
{
    if (trimUnits == kUnitsNotSet || IsNotSet(point)) return true;
    if (!TransactOrReport(commandIndex, {&trimUnits, &point}, Accept::ZeroOnly).ok) {
        trimUnits = kUnitsNotSet;
        point = kNotSetFloat;
        return false;
    }
    DecodeResponse(commandIndex, {&trimUnits, &point});
    return true;
}

bool CTransmitter::TrimSensorUpper()
{
    return TrimSensorPoint(CMD_TRIM_SENSOR_UPPER, trimUpperPoint);
}

bool CTransmitter::TrimSensorLower()
{
    return TrimSensorPoint(CMD_TRIM_SENSOR_LOWER, trimLowerPoint);
}

}  // namespace transmitter
