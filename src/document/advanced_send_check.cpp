#include "document/advanced_send_check.h"

#include <bit>

#include "document/send_refusal.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

using transmitter::IsNotSet;

constexpr float Bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

// The bounds are single-precision constants, given by their bits.
constexpr float kLowAlarmMin = Bits(0x405FFE5D);           // 3.4999
constexpr float kLowAlarmMax = Bits(0x407001A3);           // 3.7501
constexpr float kLowAlarmSplit = Bits(0x406CCCCD);         // 3.7
constexpr float kLowSaturationMin = Bits(0x406CCB29);      // 3.6999
constexpr float kSaturationAboveAlarm = Bits(0x3DCCCCCD);  // 0.1
constexpr float kLowSaturationMax = Bits(0x40799B3D);      // 3.9001
constexpr float kHighSaturationMin = Bits(0x41A3FFCC);     // 20.4999
constexpr float kHighSaturationMax = Bits(0x41A73368);     // 20.9001
constexpr float kHighAlarmMin = Bits(0x41A7FFCC);          // 20.9999
constexpr float kHighAlarmMax = Bits(0x41B80034);          // 23.0001

using tarvel::kHighAlarmTooHigh;
using tarvel::kHighAlarmTooLow;
using tarvel::kHighSaturationTooHigh;
using tarvel::kHighSaturationTooLow;
using tarvel::kIncompleteLevels;
using tarvel::kLowAlarmTooHigh;
using tarvel::kLowAlarmTooLow;
using tarvel::kLowSaturationBelowAlarm;
using tarvel::kLowSaturationTooHigh;
using tarvel::kLowSaturationTooLow;

}  // namespace

AlarmLevels AlarmLevelsOf(const PageValues& values)
{
    return {values.lowAlmVal, values.highAlmVal, values.lowSatVal, values.highSatVal};
}

bool ValidateAdvancedSend(const AlarmLevels& levels, hart::UserInteraction& ui)
{
    const float la = levels.lowAlarm;
    const float ha = levels.highAlarm;
    const float ls = levels.lowSaturation;
    const float hs = levels.highSaturation;
    const int notSet = IsNotSet(la) + IsNotSet(ha) + IsNotSet(ls) + IsNotSet(hs);
    if (notSet > 0 && notSet < 4) return RefuseSend(ui, kIncompleteLevels);
    // Every comparison with a not-set level is false, so each rule needs its levels set.
    if (la < kLowAlarmMin) return RefuseSend(ui, kLowAlarmTooLow);
    if (la > kLowAlarmMax) return RefuseSend(ui, kLowAlarmTooHigh);
    if (la <= kLowAlarmSplit && ls < kLowSaturationMin) return RefuseSend(ui, kLowSaturationTooLow);
    const float lowSaturationFloor = la + kSaturationAboveAlarm;  // rounded to single precision
    if (la > kLowAlarmSplit && ls < lowSaturationFloor)
        return RefuseSend(ui, kLowSaturationBelowAlarm);
    if (ls > kLowSaturationMax) return RefuseSend(ui, kLowSaturationTooHigh);
    if (hs < kHighSaturationMin) return RefuseSend(ui, kHighSaturationTooLow);
    if (hs > kHighSaturationMax) return RefuseSend(ui, kHighSaturationTooHigh);
    if (ha < kHighAlarmMin) return RefuseSend(ui, kHighAlarmTooLow);
    if (ha > kHighAlarmMax) return RefuseSend(ui, kHighAlarmTooHigh);
    return true;
}

bool ValidateAdvancedPage(const CVeskDoc& doc, hart::UserInteraction& ui)
{
    return ValidateAdvancedSend(AlarmLevelsOf(PageValuesOf(doc)), ui);
}

}  // namespace document
