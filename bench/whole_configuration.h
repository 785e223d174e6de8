#pragma once

#include "transmitter/transmitter.h"

// The whole configuration, as a read of the transmitter takes it: identification and the six
// read groups. True when every part was read.
inline bool ReadWholeConfiguration(transmitter::CTransmitter& xmtr)
{
    bool ok = xmtr.Identify() == 1;
    ok = xmtr.ReadTagAndSensor() == 1 && ok;
    ok = xmtr.ReadRangeAndLimits() == 1 && ok;
    ok = xmtr.ReadFilterAndAssemblyNumber() == 1 && ok;
    ok = xmtr.ReadAlarmLevelsAndVariables() == 1 && ok;
    ok = xmtr.ReadFailureStatus() == 1 && ok;
    ok = xmtr.ReadThermometerParams() == 1 && ok;
    return ok;
}
