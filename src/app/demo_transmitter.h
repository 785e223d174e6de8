#pragma once

#include <memory>
#include <optional>
#include <string>

namespace sim {
class SimulatorHost;
}

// --demo: the simulated transmitter, in this process, on a pseudo-terminal linked as a COM
// port for as long as the program runs. The program's stop signals end it through its event
// loops (StopSignals), so that the link is removed on the way out: pseudo-terminal numbers are
// reused, and a stale link would lead to somebody else's terminal.
class DemoTransmitter {
public:
    DemoTransmitter();
    ~DemoTransmitter();
    DemoTransmitter(const DemoTransmitter&) = delete;
    DemoTransmitter& operator=(const DemoTransmitter&) = delete;

    // The COM number it answers on, or nullopt with error() saying why.
    std::optional<int> Start();
    const std::string& error() const;

private:
    std::unique_ptr<sim::SimulatorHost> m_host;
};
