#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {
using namespace hart;

// Small reads for the calibration procedures: they return what they read and store nothing.

LevelPair CTransmitter::ReadAlarmLevels()
{
    LevelPair levels;
    if (!TransactOrReport(CMD_READ_ALARM_LEVELS, {}, Accept::ZeroOnly).ok) return levels;
    DecodeResponse(CMD_READ_ALARM_LEVELS, {&levels.high, &levels.low});
    return levels;
}

AdditionalStatus CTransmitter::ReadAdditionalStatus()
{
    AdditionalStatus status;
    if (!TransactOrReport(CMD_READ_ADDITIONAL_STATUS, {}, Accept::ZeroOnly).ok) return status;
    std::uint8_t* b = status.bytes;
    DecodeResponse(CMD_READ_ADDITIONAL_STATUS, {&b[0], &b[1], &b[2], &b[3], &b[4]});
    status.ok = true;
    return status;
}

std::int32_t CTransmitter::ReadRangeUnits()
{
    if (!TransactOrReport(CMD_READ_RANGE, {}, Accept::ZeroOnly).ok) return kUnitsNotSet;
    std::int32_t units = kUnitsNotSet;
    DecodeResponse(CMD_READ_RANGE, {FieldRef{}, FieldRef{}, &units});
    return units;
}

std::int32_t CTransmitter::ReadSensorType()
{
    std::int32_t selector = 0;
    if (!TransactOrReport(CMD_READ_SENSOR_CONFIG, {&selector}, Accept::ZeroOnly).ok)
        return kSensorNotSet;
    std::int32_t type = kSensorNotSet;
    DecodeResponse(CMD_READ_SENSOR_CONFIG, {FieldRef{}, &type});
    return type;
}

SensorLimitsReading CTransmitter::ReadSensorLimits() { return ReadLimits(Accept::ZeroOnly); }

MeasuredValue CTransmitter::ReadMeasuredValue()
{
    MeasuredValue measured;
    if (!ReadTwoVariables(Accept::ZeroOnly).ok) return measured;
    DecodeResponse(CMD_READ_VARIABLES, {FieldRef{}, FieldRef{}, FieldRef{}, FieldRef{},
                                        &measured.units, &measured.value});
    measured.ok = true;
    return measured;
}

}  // namespace transmitter
