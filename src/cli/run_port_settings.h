#pragma once

#include <optional>

#include "app_settings.h"

namespace cli {

// The stored port, unless this run was given another one with --port.
class RunPortSettings final : public hart::PortSettings {
public:
    explicit RunPortSettings(std::optional<int> override) : m_override(override) {}
    int portNumber() const override { return m_override ? *m_override : m_stored.portNumber(); }

private:
    std::optional<int> m_override;
    document::AppSettings m_stored;
};

}  // namespace cli
