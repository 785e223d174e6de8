#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "simulator/device.h"
#include "simulator/hart_test_frames.h"

namespace simtest {

// A simulated transmitter with steady readings (no noise), fed whole request frames.
// Tests change setup() before the first exchange; the device is built then.
class DeviceTest : public ::testing::Test {
protected:
    sim::SimulatorSetup& setup();
    sim::Device& device();

    // The bytes the device puts on the line for these request bytes.
    Bytes raw(const Bytes& requestBytes);
    // The one frame answered; fails the test when there is not exactly one.
    Answer exchange(const Bytes& requestBytes);
    // A long-frame request to the default device.
    Answer command(std::uint8_t number, const Bytes& data = {});

private:
    sim::SimulatorSetup m_setup = Quiet();
    std::unique_ptr<sim::Device> m_device;

    static sim::SimulatorSetup Quiet();
};

}  // namespace simtest
