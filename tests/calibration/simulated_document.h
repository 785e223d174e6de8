#pragma once

// A document on the simulated transmitter over the real driver library, with a scripted
// user. The timed waits of the procedures are recorded, not waited.

#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "support/simulated_transmitter.h"

// HART sends floats as big-endian IEEE single precision.
std::vector<std::uint8_t> FloatBytes(float value);

class SimulatedDocumentTest : public testing::Test, protected SimulatedTransmitter<> {
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

    std::vector<document::CVeskDoc::CalibrationWait> waits;
    std::vector<int> hints;
};
