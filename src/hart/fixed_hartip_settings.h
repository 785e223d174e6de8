#pragma once

#include "hart/link_environment.h"

namespace hart {

// A HART-IP endpoint fixed at construction, for tools and tests without a settings store.
class FixedHartIpSettings final : public PortSettings {
public:
    explicit FixedHartIpSettings(HartIpEndpoint endpoint) : m_endpoint(std::move(endpoint)) {}
    int portNumber() const override { return 1; }
    std::optional<HartIpEndpoint> hartIpEndpoint() const override { return m_endpoint; }

private:
    HartIpEndpoint m_endpoint;
};

}  // namespace hart
