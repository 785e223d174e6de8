#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {
namespace {

constexpr std::uint8_t kNoDeviceVariable = 250;

}  // namespace

using namespace hart;

CTransmitter::Exchange CTransmitter::TransactOrReport(int commandIndex,
                                                      std::initializer_list<FieldRef> values,
                                                      Accept accept)
{
    const int result = Transact(commandIndex, values);
    const bool ok = accept == Accept::ZeroOnly ? result == 0 : Succeeded(result);
    if (!ok) ShowResponseError(commandIndex, result);
    return Exchange{result, ok};
}

CTransmitter::Exchange CTransmitter::WriteEchoed(int commandIndex, FieldRef value, int& failed)
{
    const Exchange exchange = TransactOrReport(commandIndex, {value});
    if (!exchange.ok) {
        failed = 1;
        return exchange;
    }
    DecodeResponse(commandIndex, {value});
    failed = 0;
    return exchange;
}

SensorLimitsReading CTransmitter::ReadLimits(Accept accept)
{
    SensorLimitsReading reading;
    if (!TransactOrReport(CMD_READ_SENSOR_LIMITS, {}, accept).ok) return reading;
    DecodeResponse(CMD_READ_SENSOR_LIMITS,
                   {FieldRef{}, &reading.units, &reading.upper, &reading.lower});
    reading.ok = true;
    return reading;
}

CTransmitter::Exchange CTransmitter::ReadTwoVariables(Accept accept)
{
    std::int32_t electronics = 1, sensor = 2, none = kNoDeviceVariable;
    return TransactOrReport(CMD_READ_VARIABLES, {&electronics, &sensor, &none, &none}, accept);
}

int CTransmitter::StoreSensorLimits(const SensorLimitsReading& reading)
{
    // A failed reading carries the unknown values: units 38, both limits not set.
    sensorLimitUnits = reading.units;
    upperSensorLimit = reading.upper;
    lowerSensorLimit = reading.lower;
    if (!reading.ok) return 0;
    upperSensorLimitFailed = 0;
    lowerSensorLimitFailed = 0;
    return 1;
}

}  // namespace transmitter
