#pragma once

#include <optional>

#include "document/app_settings.h"

namespace document {

// The stored port, unless this run was given another one (the command line's --port, the
// desktop program's --demo); a port chosen in the port dialog ends the override.
class SessionPortSettings final : public hart::PortSettings {
public:
    explicit SessionPortSettings(std::optional<int> override = std::nullopt) : m_override(override)
    {
    }

    int portNumber() const override { return m_override ? *m_override : m_stored.portNumber(); }
    void storeChoice(int port)
    {
        m_stored.setPortNumber(port);
        m_override.reset();
    }

private:
    std::optional<int> m_override;
    AppSettings m_stored;
};

}  // namespace document
