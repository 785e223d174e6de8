#include "splash_screen.h"

#include <QLabel>
#include <QPixmap>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "dialog_units.h"
#include "transmitter_picture.h"

namespace {
constexpr int kWidthDu = 164;
constexpr int kHeightDu = 150;
}  // namespace

CSplashDlg::CSplashDlg(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(TransmitterPicture()));
    picture->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);

    const DialogUnits du(font());
    setFixedSize(du.x(kWidthDu), du.y(kHeightDu));
}

// A zero-period timer, not a queued call: showing a widget may deliver its queued calls
// before exec() has started its loop, and closing then would leave exec() waiting forever.
void CSplashDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_closeTimer == 0) m_closeTimer = startTimer(0);
}

void CSplashDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_closeTimer) return QDialog::timerEvent(event);
    killTimer(m_closeTimer);
    m_closeTimer = 0;
    accept();
}
