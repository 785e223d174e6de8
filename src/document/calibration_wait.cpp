#include "document/calibration_wait.h"

#include "resources/string_ids/document.h"

namespace document {
namespace {

constexpr int kCalibrationTicks = 35;
constexpr int kResetTicks = 6;
using tarvel::kCalibrationWaitText;
using tarvel::kResetWaitText;

}  // namespace

WaitCounter::WaitCounter(CalibrationWait wait)
    : m_duration(wait == CalibrationWait::Calibration ? kCalibrationTicks : kResetTicks),
      m_textId(wait == CalibrationWait::Calibration ? kCalibrationWaitText : kResetWaitText)
{
}

bool WaitCounter::Tick()
{
    if (m_counter == m_duration) {
        m_counter = 0;
        return true;
    }
    ++m_counter;
    return false;
}

void WaitOnClock(CalibrationWait wait, hart::Sleeper& clock)
{
    WaitCounter counter(wait);
    do {
        clock.sleepFor(kCalibrationWaitTick);
    } while (!counter.Tick());
}

void CVeskDoc::RunCalibrationWait(CalibrationWait wait)
{
    RestoreCursor();
    if (showCalibrationWait)
        showCalibrationWait(wait);
    else
        WaitOnClock(wait, m_sleeper);
    ShowWait();
}

}  // namespace document
