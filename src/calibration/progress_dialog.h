#pragma once

#include <QDialog>
#include <QTimer>

#include "document/calibration_wait.h"

class QLabel;
class QProgressBar;

// The wait after a sensor trim (36 ticks) or a device reset (7 ticks): a bar that moves once
// a second and closes the dialog by itself. Escape closes it early; the procedure goes on
// the same way.
class CProgressDialog : public QDialog {
    Q_OBJECT

public:
    // Without a clock the ticks come from a one-second timer. With one, each tick first
    // waits a second on the clock, so a test clock runs the whole wait at once.
    explicit CProgressDialog(document::CalibrationWait mode, hart::Sleeper* clock = nullptr,
                             QWidget* parent = nullptr);

    // One tick of the timer.
    void OnTimer();
    int position() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    document::WaitCounter m_counter;
    hart::Sleeper* m_clock;
    QTimer m_timer;
    QProgressBar* m_bar = nullptr;
    QLabel* m_text = nullptr;
};
