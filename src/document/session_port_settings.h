#pragma once

#include <optional>

#include "document/app_settings.h"

namespace document {

// The stored port and polling address, unless this run was given others (the command line's
// --port and --address, the desktop program's --demo, a device chosen from a scan); a port
// chosen in the port dialog ends the port's override, a stored address the address's.
class SessionPortSettings final : public hart::PortSettings {
public:
    explicit SessionPortSettings(std::optional<int> override = std::nullopt,
                                 std::optional<int> addressOverride = std::nullopt)
        : m_override(override), m_addressOverride(addressOverride)
    {
    }

    int portNumber() const override { return m_override ? *m_override : m_stored.portNumber(); }
    int pollingAddress() const override
    {
        return m_addressOverride ? *m_addressOverride : m_stored.pollingAddress();
    }
    void storeChoice(int port)
    {
        m_stored.setPortNumber(port);
        m_override.reset();
    }
    // For this run only, or kept for the next runs too.
    void useAddress(int address) { m_addressOverride = address; }
    void storeAddress(int address)
    {
        m_stored.setPollingAddress(address);
        m_addressOverride.reset();
    }

private:
    std::optional<int> m_override;
    std::optional<int> m_addressOverride;
    AppSettings m_stored;
};

}  // namespace document
