#include "calibration/progress_dialog.h"

#include <QLabel>
#include <QProgressBar>

#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "resources/string_ids.h"

namespace {

enum ControlId { kTextId = 1266, kBarId = 1267 };

constexpr int kFormWidth = 186;
constexpr int kFormHeight = 44;

}  // namespace

CProgressDialog::CProgressDialog(document::CalibrationWait mode, hart::Sleeper* clock,
                                 QWidget* parent)
    : QDialog(parent), m_counter(mode), m_clock(clock)
{
    setWindowTitle(document::LoadedText(tarvel::kApplicationName));
    const DialogUnits units(font());
    setFixedSize(units.x(kFormWidth), units.y(kFormHeight));

    m_text = new QLabel(document::LoadedText(m_counter.textId()), this);
    units.place(m_text, 7, 7, 172, 10);
    SetControlId(m_text, kTextId);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, m_counter.duration());
    m_bar->setValue(0);
    units.place(m_bar, 7, 22, 172, 12);
    SetControlId(m_bar, kBarId);

    m_timer.setInterval(m_clock != nullptr ? std::chrono::milliseconds(0)
                                           : document::kCalibrationWaitTick);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_clock != nullptr) m_clock->sleepFor(document::kCalibrationWaitTick);
        OnTimer();
    });
}

void CProgressDialog::OnTimer()
{
    if (m_counter.Tick()) {
        accept();
        return;
    }
    m_bar->setValue(m_counter.position());
}

int CProgressDialog::position() const { return m_bar->value(); }

void CProgressDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_timer.isActive()) m_timer.start();
}

void CProgressDialog::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QDialog::hideEvent(event);
}
