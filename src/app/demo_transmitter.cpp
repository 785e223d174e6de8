#include "app/demo_transmitter.h"

#include "simulator/simulator_host.h"

DemoTransmitter::DemoTransmitter() : m_host(std::make_unique<sim::SimulatorHost>()) {}

// The host's destructor removes the link.
DemoTransmitter::~DemoTransmitter() = default;

std::optional<int> DemoTransmitter::Start()
{
    const auto endpoint = m_host->start();
    if (!endpoint) return std::nullopt;
    return endpoint->comNumber;
}

const std::string& DemoTransmitter::error() const { return m_host->error(); }
