#pragma once

#include <vector>

#include "simulator/simulator_setup.h"

namespace sim {

// Readies transmitters for one multidrop line, in their order on it: the i-th (from 0) takes
// polling address i+1, the device id of its setup plus i, and the tag "TT-<i+1>".
void PlaceOnMultidropLine(std::vector<SimulatorSetup>& setups);

// count copies of one setup, placed on a line.
std::vector<SimulatorSetup> MultidropSetups(const SimulatorSetup& setup, int count);

}  // namespace sim
