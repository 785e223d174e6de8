#pragma once

#include <chrono>
#include <optional>

#include "hart/hartip_endpoint.h"

namespace hart {

// HART 5 polling addresses run from 0 to 15; 1–15 put a device in a multidrop loop.
constexpr int kHighestPollingAddress = 15;

// Reads the stored COM port number ("PortSettings" in section "General", default 1).
class PortSettings {
public:
    virtual ~PortSettings() = default;
    virtual int portNumber() const = 0;
    // The polling address the identification goes to: 0–15, 0 unless a multidrop loop.
    virtual int pollingAddress() const { return 0; }
    // A HART-IP server to reach the transmitter through instead of the COM port.
    virtual std::optional<HartIpEndpoint> hartIpEndpoint() const { return std::nullopt; }
};

// Every wait of the transaction engine goes through this, so tests can skip the time; the
// trace reads its times from the same clock, so a skipped wait also moves them on.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point now() const
    {
        return std::chrono::steady_clock::now();
    }
};

class RealSleeper final : public Sleeper {
public:
    void sleepFor(std::chrono::milliseconds duration) override;
};

// A port number fixed at construction, for tools and tests without a settings store.
class FixedPortSettings final : public PortSettings {
public:
    explicit FixedPortSettings(int port, int pollingAddress = 0)
        : m_port(port), m_pollingAddress(pollingAddress)
    {
    }
    int portNumber() const override { return m_port; }
    int pollingAddress() const override { return m_pollingAddress; }
    void setPortNumber(int port) { m_port = port; }
    void setPollingAddress(int address) { m_pollingAddress = address; }

private:
    int m_port;
    int m_pollingAddress;
};

}  // namespace hart
