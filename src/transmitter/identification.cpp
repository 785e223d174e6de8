#include "hart/command_table.h"
#include "transmitter/identity.h"
#include "transmitter/transmitter.h"

namespace transmitter {
using namespace hart;

bool IsTarvel4410(std::int32_t manufacturerCode, std::int32_t deviceType)
{
    return manufacturerCode == kTarvelManufacturer && deviceType == kTarvelDeviceType;
}

CTransmitter::CTransmitter(UserInteraction& ui, const PortSettings& portSettings, Sleeper& sleeper)
    : CHartLink(ui, portSettings, sleeper)
{
}

int CTransmitter::Identify()
{
    // The answer is decoded before another thread's transaction can overwrite it.
    const auto search = lockTransactions();
    const int result = Transact(CMD_IDENTIFY);
    if (Succeeded(result)) {
        std::int32_t id = 0;
        DecodeResponse(CMD_IDENTIFY,
                       {FieldRef{}, &manufacturerCode, &deviceType, FieldRef{}, &universalRev,
                        &deviceRev, &softwareRev, &hardwareRev, FieldRef{}, &id});
        deviceId = id;
        if (IsTarvel4410(manufacturerCode, deviceType)) return 1;
    }
    deviceId = 0;
    return 0;
}

int CTransmitter::ReadWriteProtect()
{
    if (!TransactOrReport(CMD_READ_RANGE, {}, Accept::ZeroOnly).ok) return kChoiceNotSet;
    std::int32_t code = kChoiceNotSet;
    DecodeResponse(CMD_READ_RANGE, {{}, {}, {}, {}, {}, {}, &code});
    return code;
}

}  // namespace transmitter
