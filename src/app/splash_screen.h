#pragma once

#include <QDialog>

// The splash screen of start-up: a captionless popup with the transmitter's picture that
// closes itself (Accepted) at the first turn of its event loop, so exec() returns at once.
class CSplashDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSplashDlg(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    int m_closeTimer = 0;
};
