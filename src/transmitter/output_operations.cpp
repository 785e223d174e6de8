#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {

using namespace hart;

// Fixed current mode: any level forces that current, 0.0 mA leaves the mode.
bool CTransmitter::SetFixedCurrent()
{
    if (IsNotSet(fixedCurrent)) return true;
    if (!TransactOrReport(CMD_FIXED_CURRENT, {&fixedCurrent}, Accept::ZeroOnly).ok) return false;
    DecodeResponse(CMD_FIXED_CURRENT, {&fixedCurrent});
    return true;
}

bool CTransmitter::ExitFixedCurrent()
{
    float leaveFixedMode = 0.0f;
    return TransactOrReport(CMD_FIXED_CURRENT, {&leaveFixedMode}, Accept::ZeroOnly).ok;
}

// The caller gets the result as well: a value refused as too large or too small (3 or 4)
// shows no message here and is for the caller to explain.
LoopTrimResult CTransmitter::TrimLoop(int commandIndex, float& measured)
{
    if (IsNotSet(measured)) return LoopTrimResult{false, 0};
    const Exchange trimmed = TransactOrReport(commandIndex, {&measured}, Accept::ZeroOnly);
    if (!trimmed.ok) return LoopTrimResult{false, trimmed.result};
    DecodeResponse(commandIndex, {&measured});
    return LoopTrimResult{true, 0};
}

LoopTrimResult CTransmitter::TrimLoopZero() { return TrimLoop(CMD_TRIM_LOOP_ZERO, measured4mA); }

LoopTrimResult CTransmitter::TrimLoopGain() { return TrimLoop(CMD_TRIM_LOOP_GAIN, measured20mA); }

bool CTransmitter::ResetDevice() { return TransactOrReport(CMD_RESET, {}, Accept::ZeroOnly).ok; }

}  // namespace transmitter
