// The output side of the Calibration page: the fixed loop current and the 4 mA and 20 mA
// trims against the user's multimeter.
#include "document/calibration_messages.h"
#include "document/calibration_rules.h"
#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "resources/string_ids.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

using hart::MessageIcon;
using tarvel::kNoFixedCurrent;
using tarvel::kQuestionOutputChange;
using transmitter::IsNotSet;

using tarvel::kAboveHighAlarm;
using tarvel::kAlarmLevelsUnreadable;
using tarvel::kBelowLowAlarm;
using tarvel::kFixedCurrentReset;
using tarvel::kFixedCurrentResetFailed;
using tarvel::kFixedCurrentSet;
using tarvel::kFixedCurrentSetFailed;
using tarvel::kFourMaTrimFailed;
using tarvel::kQuestionRetryTrim;
using tarvel::kTwentyMaTrimFailed;

// Results of commands 45 and 46 for a meter reading too far from the point.
constexpr int kResultTooLarge = 3;
constexpr int kResultTooSmall = 4;

constexpr float kFourMa = 4.0f;

void ShowCurrent(CVeskDoc& doc, int message, float milliamps, MessageIcon icon)
{
    ShowMessageText(doc, message, CurrentMessage(message, milliamps), icon);
}

}  // namespace

bool CVeskDoc::ApplyFixedCurrent(bool set, bool interactive)
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    const float current = fixedCurrent();
    // Forcing "nothing" would send nothing and still report success.
    if (set && IsNotSet(current)) {
        ShowMessage(*this, kNoFixedCurrent, MessageIcon::None);
        return false;
    }
    if (set && interactive && AskQuestion(*this, kQuestionOutputChange, MB_OKCANCEL) != IDOK)
        return false;
    if (!CheckWritable()) return false;

    if (!set) {
        if (!m_pTransmitter->ExitFixedCurrent()) {
            ShowMessage(*this, kFixedCurrentResetFailed, MessageIcon::Error);
            return false;
        }
        if (interactive) ShowMessage(*this, kFixedCurrentReset, MessageIcon::Information);
        return true;
    }

    // A level that could not be read takes no part in the comparison; without both no
    // current is forced at all.
    const transmitter::LevelPair alarms = m_pTransmitter->ReadAlarmLevels();
    if (IsNotSet(alarms.high) && IsNotSet(alarms.low)) {
        ShowMessage(*this, kAlarmLevelsUnreadable, MessageIcon::Error);
        return false;
    }
    if (alarms.low > current) {
        ShowCurrent(*this, kBelowLowAlarm, alarms.low, MessageIcon::Error);
        return false;
    }
    if (current > alarms.high) {
        ShowCurrent(*this, kAboveHighAlarm, alarms.high, MessageIcon::Error);
        return false;
    }
    if (!m_pTransmitter->SetFixedCurrent()) {
        ShowCurrent(*this, kFixedCurrentSetFailed, current, MessageIcon::Error);
        return false;
    }
    if (interactive) ShowCurrent(*this, kFixedCurrentSet, current, MessageIcon::Information);
    return true;
}

bool CVeskDoc::BeginOutputCalibration()
{
    const serial::PortHold hold = HoldPort();
    setFixedCurrent(kFourMa);
    return ApplyFixedCurrent(true, false);
}

CVeskDoc::LoopTrimOutcome
CVeskDoc::CalibrateOutputPoint(transmitter::LoopTrimResult (transmitter::CTransmitter::*trim)(),
                               int failureMessage)
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    if (!CheckWritable()) return LoopTrimOutcome::Ended;
    const transmitter::LoopTrimResult trimmed = (m_pTransmitter.get()->*trim)();
    if (trimmed.done) return LoopTrimOutcome::Trimmed;
    if (trimmed.result == kResultTooLarge || trimmed.result == kResultTooSmall) {
        if (AskQuestion(*this, kQuestionRetryTrim, MB_YESNO) == IDYES)
            return LoopTrimOutcome::Retry;
    } else {
        ShowMessage(*this, failureMessage, MessageIcon::Error);
    }
    ApplyFixedCurrent(false, false);
    return LoopTrimOutcome::Ended;
}

CVeskDoc::LoopTrimOutcome CVeskDoc::CalibrateOutput4mA()
{
    return CalibrateOutputPoint(&transmitter::CTransmitter::TrimLoopZero, kFourMaTrimFailed);
}

CVeskDoc::LoopTrimOutcome CVeskDoc::CalibrateOutput20mA()
{
    return CalibrateOutputPoint(&transmitter::CTransmitter::TrimLoopGain, kTwentyMaTrimFailed);
}

}  // namespace document
