#pragma once

#include <string>
#include <vector>

#include "simulator/simulator_setup.h"

namespace sim {

// Checks that hold between values (connection for the sensor, range within its limits,
// levels within their bands): a simulator must start in a state its firmware could be in.
// Returns one message per problem.
std::vector<std::string> ValidateSetup(const SimulatorSetup& setup);

}  // namespace sim
