#pragma once

// A document on the simulated transmitter over the real driver library, with a scripted
// user. The timed waits of the procedures are recorded, not waited.

#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "document/vesk_doc.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

// HART sends floats as big-endian IEEE single precision.
std::vector<std::uint8_t> FloatBytes(float value);

class SimulatedDocumentTest : public testing::Test {
protected:
    SimulatedDocumentTest();

    // The commands received since the last clear, and the data of every request of one
    // command in order.
    std::vector<std::uint8_t> Commands() const { return host->commands(); }
    std::vector<std::vector<std::uint8_t>> DataOf(std::uint8_t command) const;
    void ClearRecords();

    template <class Fn>
    decltype(auto) Device(Fn&& fn)
    {
        return host->withDevice(std::forward<Fn>(fn));
    }

    TempPortMapDir portMap;
    std::unique_ptr<sim::SimulatorHost> host;
    ScriptedUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports{0};
    document::CVeskDoc doc{user, ports, sleeper};
    std::vector<document::CVeskDoc::CalibrationWait> waits;
    std::vector<int> hints;
};
