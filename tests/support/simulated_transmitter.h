#pragma once

// The simulated transmitter on a pseudo-terminal, found through a private port map, and the
// program's document on its port: where the tests of the program against the transmitter
// begin. Link tarvel_document and tarvel_simulator_host.

#include <memory>
#include <stdexcept>

#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

// Readings that do not wander, so that what a test reads back is what it expects.
inline sim::SimulatorSetup SteadyTransmitterSetup()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0;
    return setup;
}

template <typename User = ScriptedUser, typename Sleeper = hart::RealSleeper>
struct SimulatedTransmitter {
    // Starts the transmitter and points the document, new and empty, at its port.
    void StartTransmitter(const sim::SimulatorSetup& setup = SteadyTransmitterSetup(),
                          const sim::HostOptions& options = {})
    {
        host = std::make_unique<sim::SimulatorHost>(setup, options);
        const auto endpoint = host->start();
        if (!endpoint) throw std::runtime_error(host->error());
        ports.setPortNumber(endpoint->comNumber);
        doc.OnNewDocument();
    }

    TempPortMapDir portMap;
    std::unique_ptr<sim::SimulatorHost> host;
    User user;
    Sleeper sleeper;
    hart::FixedPortSettings ports{0};
    document::CVeskDoc doc{user, ports, sleeper};
};
