#pragma once

#include <optional>

#include "document/app_settings.h"

namespace document {

// The stored port and polling address, unless this run was given others (the command line's
// --port, --hart-ip and --address, the desktop program's --demo, a device chosen from a scan);
// a port chosen in the port dialog ends the port's override, a stored address the address's.
class SessionPortSettings final : public hart::PortSettings {
public:
    explicit SessionPortSettings(std::optional<int> override = std::nullopt,
                                 std::optional<int> addressOverride = std::nullopt)
        : m_override(override), m_addressOverride(addressOverride)
    {
    }

    int portNumber() const override { return m_override ? *m_override : m_stored.portNumber(); }
    std::optional<hart::HartIpEndpoint> hartIpEndpoint() const override
    {
        if (m_override) return std::nullopt;
        return m_hartIpOverride ? m_hartIpOverride : m_stored.hartIpEndpoint();
    }
    void overrideHartIp(std::optional<hart::HartIpEndpoint> endpoint)
    {
        m_hartIpOverride = std::move(endpoint);
    }
    int pollingAddress() const override
    {
        return m_addressOverride ? *m_addressOverride : m_stored.pollingAddress();
    }
    void storeChoice(int port)
    {
        m_stored.setPortNumber(port);
        m_override.reset();
        m_hartIpOverride.reset();
    }
    void storeChoice(const hart::HartIpEndpoint& endpoint)
    {
        m_stored.setHartIpEndpoint(endpoint);
        m_override.reset();
        m_hartIpOverride.reset();
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
    std::optional<hart::HartIpEndpoint> m_hartIpOverride;
    std::optional<int> m_addressOverride;
    AppSettings m_stored;
};

}  // namespace document
