#pragma once

#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace sim {
class SimulatorHost;
}

// --demo: the simulated transmitter, in this process, on a pseudo-terminal linked as a COM
// port for as long as the program runs. Once started, SIGTERM, SIGINT and SIGHUP end the
// program's event loops instead of the process, so that the link is removed on the way out:
// pseudo-terminal numbers are reused, and a stale link would lead to somebody else's terminal.
class DemoTransmitter {
public:
    DemoTransmitter();
    ~DemoTransmitter();
    DemoTransmitter(const DemoTransmitter&) = delete;
    DemoTransmitter& operator=(const DemoTransmitter&) = delete;

    // The COM number it answers on, or nullopt with error() saying why.
    std::optional<int> Start();
    const std::string& error() const;
    // A stop signal has arrived: the program ends without entering another event loop.
    bool stopRequested() const { return m_stopRequested; }

private:
    void CatchStopSignals();
    void ReleaseStopSignals();

    std::unique_ptr<sim::SimulatorHost> m_host;
    std::unique_ptr<QSocketNotifier> m_stopNotifier;
    bool m_stopRequested = false;
};
