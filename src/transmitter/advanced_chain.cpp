#include "hart/command_table.h"
#include "transmitter/transmitter.h"

namespace transmitter {
namespace {

constexpr std::int32_t kProtectionOff = 0;
constexpr std::int32_t kProtectionOn = 1;

constexpr int kInvalidHighAlarm = 10;
constexpr int kInvalidHighSaturation = 11;
constexpr int kInvalidLowAlarm = 12;
constexpr int kInvalidLowSaturation = 13;

}  // namespace

using namespace hart;

int CTransmitter::WriteProtection()
{
    std::int32_t reserved = 0;
    if (!TransactOrReport(CMD_WRITE_PROTECT, {&reserved, &writeProtect}).ok) {
        writeProtectFailed = 1;
        return 0;
    }
    DecodeResponse(CMD_WRITE_PROTECT, {&reserved, &writeProtect});
    writeProtectFailed = 0;
    return 1;
}

// Protection is switched off before the other advanced writes and on after them.
int CTransmitter::WriteProtectOff()
{
    if (writeProtect != kProtectionOff) return 1;
    return WriteProtection();
}

int CTransmitter::WriteAlarmSelect()
{
    if (alarmSelect == kChoiceNotSet) return 1;
    return WriteEchoed(CMD_WRITE_ALARM_SELECT, &alarmSelect, alarmSelectFailed).ok ? 1 : 0;
}

// Command 155 always carries all four levels: levels the user left unset are sent as the
// transmitter currently has them.
int CTransmitter::WriteAlarmLevels()
{
    float* const wanted[] = {&highAlmVal, &lowAlmVal, &highSatVal, &lowSatVal};
    int* const failed[] = {&highAlmValFailed, &lowAlmValFailed, &highSatValFailed,
                           &lowSatValFailed};
    constexpr int kLevels = 4;

    bool anySet = false;
    for (const float* level : wanted) anySet = anySet || !IsNotSet(*level);
    if (!anySet) return 1;

    auto flagEverySentLevel = [&] {
        for (int i = 0; i < kLevels; ++i) *failed[i] = FlagIfSet(*wanted[i]);
    };

    if (!TransactOrReport(CMD_READ_ALARM_LEVELS).ok) {
        flagEverySentLevel();
        return 0;
    }
    float levels[kLevels] = {kNotSetFloat, kNotSetFloat, kNotSetFloat, kNotSetFloat};
    DecodeResponse(CMD_READ_ALARM_LEVELS, {&levels[0], &levels[1], &levels[2], &levels[3]});
    for (int i = 0; i < kLevels; ++i) {
        *failed[i] = 0;
        if (!IsNotSet(*wanted[i])) levels[i] = *wanted[i];
    }

    const Exchange written =
        TransactOrReport(CMD_WRITE_ALARM_LEVELS, {&levels[0], &levels[1], &levels[2], &levels[3]});
    if (written.ok) {
        DecodeResponse(CMD_WRITE_ALARM_LEVELS, {&levels[0], &levels[1], &levels[2], &levels[3]});
        for (int* flag : failed) *flag = 0;
        return 1;
    }
    // The refusal names one level; otherwise every level that was sent is suspect.
    int* named = nullptr;
    switch (written.result) {
    case kInvalidHighAlarm: named = &highAlmValFailed; break;
    case kInvalidHighSaturation: named = &highSatValFailed; break;
    case kInvalidLowAlarm: named = &lowAlmValFailed; break;
    case kInvalidLowSaturation: named = &lowSatValFailed; break;
    default: break;
    }
    if (named == nullptr) {
        flagEverySentLevel();
    } else {
        for (int* flag : failed) *flag = 0;
        *named = 1;
    }
    return 0;
}

int CTransmitter::WriteLineFilter()
{
    if (lineFilter == kChoiceNotSet) return 1;
    return WriteEchoed(CMD_WRITE_LINE_FILTER, &lineFilter, lineFilterFailed).ok ? 1 : 0;
}

int CTransmitter::WriteProtectOnAndReadLimits()
{
    if (writeProtect == kProtectionOn && !WriteProtection()) return 0;
    return StoreSensorLimits(ReadLimits(Accept::ZeroOrWarning));
}

}  // namespace transmitter
