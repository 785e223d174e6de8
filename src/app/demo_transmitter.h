#pragma once

#include <memory>
#include <optional>
#include <string>

namespace sim {
class SimulatorHost;
}

// --demo: the simulated transmitter, in this process, on a pseudo-terminal linked as a COM
// port for as long as the program runs.
class DemoTransmitter {
public:
    DemoTransmitter();
    ~DemoTransmitter();

    // The COM number it answers on, or nullopt with error() saying why.
    std::optional<int> Start();
    const std::string& error() const;

private:
    std::unique_ptr<sim::SimulatorHost> m_host;
};
