#pragma once

#include <chrono>

#include "document/vesk_doc.h"
#include "hart/link_environment.h"

namespace document {

using CalibrationWait = CVeskDoc::CalibrationWait;

// The wait after a trim or a reset is counted in ticks of this length.
constexpr std::chrono::milliseconds kCalibrationWaitTick{1000};

// The tick counting of the wait: the bar runs from 0 to the duration, one step a tick, and
// the tick after the last step ends the wait. So a calibration waits 36 ticks, a reset 7.
class WaitCounter {
public:
    explicit WaitCounter(CalibrationWait wait);

    // One tick: true when the wait is over (the counter is back at 0).
    bool Tick();

    int position() const { return m_counter; }
    int duration() const { return m_duration; }
    int textId() const { return m_textId; }  // "Выполняется калибровка..." or "...сброс..."

private:
    int m_duration;
    int m_textId;
    int m_counter = 0;
};

// The whole wait on a clock, for front ends without a wait dialog (and tests).
void WaitOnClock(CalibrationWait wait, hart::Sleeper& clock);

}  // namespace document
