#pragma once

#include <optional>

#include <QDialog>

#include "document/port_choice.h"
#include "hart/hartip_endpoint.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The port settings dialog: the user picks the modem's serial port from the ports present;
// a port another program holds is marked busy and cannot be confirmed; in a multidrop loop,
// also the transmitter's polling address. After exec() returns Accepted the caller stores
// pollingAddress() and portNumber(), or hartIpEndpoint() when the user chose to reach the
// transmitter through a HART-IP server instead.
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

    // Shows a stored HART-IP endpoint as the choice.
    void setHartIpEndpoint(const std::optional<hart::HartIpEndpoint>& endpoint);
    // The endpoint when HART-IP is chosen; nullopt for the COM port.
    std::optional<hart::HartIpEndpoint> hartIpEndpoint() const;

private:
    void CreateControls();
    void CreateHartIpControls();
    // OK follows the COM port's rule, or with HART-IP a host being given.
    void UpdateOk();
    void OnSelChangePort(int index);
    // Shows the choice's entries and selection without reporting a change.
    void ShowChoice();

    document::PortLister m_lister;
    document::PortChoice m_choice;
    QComboBox* m_ports = nullptr;
    QPushButton* m_ok = nullptr;
    QSpinBox* m_address = nullptr;
    QCheckBox* m_useHartIp = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_hartIpPort = nullptr;
    QCheckBox* m_tcp = nullptr;
};
