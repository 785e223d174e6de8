#pragma once

#include <QSettings>

#include "hart/link_environment.h"

namespace document {

// The program's per-user settings (an INI file under $XDG_CONFIG_HOME):
// organisation "Tarvel 4410 Configuration Tool", application "Конфигурация датчика Тарвел-4410".
class AppSettings final : public hart::PortSettings {
public:
    // "PortSettings" in section [General] as the port is opened: COM1 when never chosen.
    // A value an earlier version wrote under [%General] is moved there when first read.
    int portNumber() const override;
    // The same value as the port dialog reads it: −1 when never chosen.
    int storedPortChoice() const;
    // Storing a COM port ends the use of a stored HART-IP endpoint.
    void setPortNumber(int port);
    // "PollingAddress" beside the port: 0 when never chosen or out of 0–15.
    int pollingAddress() const override;
    void setPollingAddress(int address);

    // The HART-IP endpoint chosen in the port dialog instead of a COM port, if any.
    std::optional<hart::HartIpEndpoint> hartIpEndpoint() const override;
    void setHartIpEndpoint(const hart::HartIpEndpoint& endpoint);

    // The program's settings store.
    static QSettings Store();
};

}  // namespace document
