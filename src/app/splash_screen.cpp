#include "app/splash_screen.h"

#include <QLabel>
#include <QPixmap>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "app/transmitter_picture.h"
#include "controls/dialog_units.h"

namespace {
constexpr int kWidthDu = 164;
constexpr int kHeightDu = 150;
}  // namespace

// A frameless dialog rather than Qt's splash-screen window type: Qt processes events while
// showing one of those outside the application's loop, so the close timer would fire before
// exec() has a loop to end.
CSplashDlg::CSplashDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(TransmitterPicture()));
    picture->setAlignment(Qt::AlignCenter);
    // One white card with a thin border, since the popup has no frame of its own.
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette white = picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    picture->setPalette(white);
    picture->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);

    const DialogUnits du(font());
    setFixedSize(du.x(kWidthDu), du.y(kHeightDu));
}

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
