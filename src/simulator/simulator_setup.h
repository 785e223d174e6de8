#pragma once

#include "simulator/device_state.h"
#include "simulator/fault_settings.h"
#include "simulator/process_settings.h"

namespace sim {

// Everything a simulated transmitter starts from: its memory, its surroundings, its faults.
struct SimulatorSetup {
    DeviceState state;
    ProcessSettings process;
    FaultSettings faults;
};

}  // namespace sim
