#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {
namespace {

constexpr std::uint8_t kRegisterRead = 1;
constexpr int kRegisterByte = 2;
constexpr int kFirstDataByte = 3;

constexpr std::uint8_t kArmatureRegister = 108;
constexpr std::uint8_t kHeadTypeRegister = 76;
constexpr std::uint8_t kCableEntryRegister = 74;
constexpr std::uint8_t kExecutionRegister = 75;
constexpr std::uint8_t kMountingLengthRegister = 110;
constexpr std::uint8_t kAssemblyDateRegister = 77;
constexpr std::uint8_t kSerialRegister = 194;

constexpr unsigned kNoDirectByte = 0x0;
constexpr unsigned kFirstByteDirect = 0x1;
constexpr unsigned kFirstThreeBytesDirect = 0x7;

// Replaces only the low byte of a code, as the transmitter's single register byte does.
std::int32_t WithLowByte(std::int32_t code, std::uint8_t low) { return (code & ~0xFF) | low; }

}  // namespace

using namespace hart;

bool CTransmitter::ReadRegister(RegisterRecord& record, std::uint8_t registerNumber,
                                unsigned directMask, RegisterData& data)
{
    record[kRegisterByte] = registerNumber;
    if (!TransactOrReport(CMD_REGISTER_ACCESS, {&record[0], &record[1], &record[2], &record[3],
                                                &record[4], &record[5], &record[6]})
             .ok)
        return false;
    RegisterRecord answer{};
    DecodeResponse(CMD_REGISTER_ACCESS, {&answer[0], &answer[1], &answer[2], &answer[3], &answer[4],
                                         &answer[5], &answer[6]});
    for (int i = 0; i < kRegisterRecordLength; ++i) {
        const int dataIndex = i - kFirstDataByte;
        const bool direct = dataIndex >= 0 && (directMask & (1u << dataIndex)) != 0;
        if (!direct) record[i] = answer[i];
        if (dataIndex >= 0) data[dataIndex] = answer[i];
    }
    return true;
}

// One record serves as request and answer for all seven reads, so each request carries
// the data bytes of the earlier answers (except those stored directly).
int CTransmitter::ReadThermometerParams()
{
    RegisterRecord record = {kRegisterRead, 0, kArmatureRegister, 0, 0, 0, 0};
    RegisterData d{};

    if (!ReadRegister(record, kArmatureRegister, kNoDirectByte, d)) return 0;
    armatureLetter = d[0];
    armatureNumber = d[1];
    armatureFailed = 0;

    if (!ReadRegister(record, kHeadTypeRegister, kFirstByteDirect, d)) return 0;
    headType = WithLowByte(headType, d[0]);
    headTypeFailed = 0;

    if (!ReadRegister(record, kCableEntryRegister, kNoDirectByte, d)) return 0;
    cableEntry = d[0];
    cableEntryFailed = 0;

    if (!ReadRegister(record, kExecutionRegister, kFirstByteDirect, d)) return 0;
    execution = WithLowByte(execution, d[0]);
    executionFailed = 0;

    if (!ReadRegister(record, kMountingLengthRegister, kNoDirectByte, d)) return 0;
    mountingLength = d[0] * 256 + d[1];
    mountingLengthFailed = 0;

    if (!ReadRegister(record, kAssemblyDateRegister, kFirstThreeBytesDirect, d)) return 0;
    finalAsmDay = d[0];
    finalAsmMonth = d[1];
    finalAsmYear = d[2];
    finalAsmDateFailed = 0;

    if (!ReadRegister(record, kSerialRegister, kNoDirectByte, d)) {
        thermometerSerial = 0;
        return 0;
    }
    thermometerSerial = d[0] * 65536 + d[1] * 256 + d[2];
    thermometerSerialFailed = 0;
    return 1;
}

}  // namespace transmitter
