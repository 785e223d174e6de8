#pragma once

#include <optional>

#include "document/app_settings.h"

namespace document {

// The stored port, unless this run was given another one (the command line's --port or
// --hart-ip, the desktop program's --demo); a port chosen in the port dialog ends the override.
class SessionPortSettings final : public hart::PortSettings {
public:
    explicit SessionPortSettings(std::optional<int> override = std::nullopt) : m_override(override)
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

private:
    std::optional<int> m_override;
    std::optional<hart::HartIpEndpoint> m_hartIpOverride;
    AppSettings m_stored;
};

}  // namespace document
