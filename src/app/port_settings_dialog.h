#pragma once

#include <QDialog>

#include "document/port_choice.h"

class QComboBox;
class QPushButton;
class QSpinBox;

// The port settings dialog: the user picks the modem's serial port from the ports present;
// a port another program holds is marked busy and cannot be confirmed; in a multidrop loop,
// also the transmitter's polling address. After exec() returns Accepted the caller stores
// portNumber() and pollingAddress().
class CPortSettingsDialog : public QDialog {
    Q_OBJECT

public:
    // storedPort: the stored choice, −1 when none (AppSettings::storedPortChoice()).
    explicit CPortSettingsDialog(int storedPort, document::PortLister lister = serial::ListPorts,
                                 QWidget* parent = nullptr);

    int portNumber() const { return m_choice.portNumber; }
    // 0–15; the stored one is shown first.
    void setPollingAddress(int address);
    int pollingAddress() const;

private:
    void CreateControls();
    void OnSelChangePort(int index);
    // Shows the choice's entries and selection without reporting a change.
    void ShowChoice();

    document::PortLister m_lister;
    document::PortChoice m_choice;
    QComboBox* m_ports = nullptr;
    QPushButton* m_ok = nullptr;
    QSpinBox* m_address = nullptr;
};
