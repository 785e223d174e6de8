#include "hart/command_table.h"
#include "transmitter/failure_indication.h"
#include "transmitter/transmitter.h"

namespace transmitter {

using namespace hart;

namespace {
constexpr std::int32_t kNoVariable = 250;
}  // namespace

bool CTransmitter::ReadLiveValues()
{
    // The cycle runs on the monitoring thread: no transaction of another thread may come
    // between one of its transactions and the decoding of that answer.
    const auto cycle = lockTransactions();
    if (!TransactOrReport(CMD_READ_ASSEMBLY_NUMBER).ok) {
        finalAssemblyNumber = 0;
        return false;
    }
    DecodeResponse(CMD_READ_ASSEMBLY_NUMBER, {&finalAssemblyNumber});

    if (!TransactOrReport(CMD_READ_TAG).ok) {
        xmtrAsmDay = xmtrAsmMonth = xmtrAsmYear = 0;
        return false;
    }
    DecodeResponse(CMD_READ_TAG,
                   {FieldRef{}, FieldRef{}, &xmtrAsmDay, &xmtrAsmMonth, &xmtrAsmYear});

    std::int32_t xmtrVariable = 1, sensorVariable = 2, none = kNoVariable;
    if (!TransactOrReport(CMD_READ_VARIABLES, {&xmtrVariable, &sensorVariable, &none, &none}).ok) {
        xmtrTempUnits = sensorTempUnits = kUnitsNotSet;
        xmtrTemp = sensorTemp = kNotSetFloat;
        return false;
    }
    DecodeResponse(CMD_READ_VARIABLES, {FieldRef{}, &xmtrTempUnits, &xmtrTemp, FieldRef{},
                                        &sensorTempUnits, &sensorTemp});
    xmtrTempUnitsFailed = xmtrTempFailed = sensorTempUnitsFailed = sensorTempFailed = 0;

    if (!TransactOrReport(CMD_READ_LOOP_CURRENT).ok) {
        loopCurrent = kNotSetFloat;
        return false;
    }
    DecodeResponse(CMD_READ_LOOP_CURRENT, {&loopCurrent});
    loopCurrentFailed = 0;

    if (!TransactOrReport(CMD_READ_ADDITIONAL_STATUS).ok) {
        sensorFailure = xmtrFailure = 0;
        return false;
    }
    std::uint8_t statusByte4 = 0;
    DecodeResponse(CMD_READ_ADDITIONAL_STATUS,
                   {FieldRef{}, FieldRef{}, FieldRef{}, FieldRef{}, &statusByte4});
    std::uint8_t status = 0;
    GetStatus(nullptr, &status);
    const FailureIndication failure = FailureFrom(statusByte4, status);
    sensorFailure = failure.sensor;
    xmtrFailure = failure.xmtr;
    sensorFailureFailed = xmtrFailureFailed = 0;
    return true;
}

}  // namespace transmitter
