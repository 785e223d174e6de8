#pragma once

#include "device_state.h"
#include "fault_settings.h"
#include "process_settings.h"

namespace sim {

// Everything a simulated transmitter starts from: its memory, its surroundings, its faults.
struct SimulatorSetup {
    DeviceState state;
    ProcessSettings process;
    FaultSettings faults;
};

}  // namespace sim
