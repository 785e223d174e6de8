#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/simulator_setup.h"

namespace sim {

// Applies one value to the setup; returns what is wrong with it, or nullopt when it was taken.
using KeyApplier =
    std::function<std::optional<std::string>(std::string_view value, SimulatorSetup& setup)>;

// The keys a state file may set, by section and key (both lower case); nullptr for an unknown
// key. Every key is described in example-state.ini.
const KeyApplier* FindStateKey(std::string_view section, std::string_view key);
bool IsStateSection(std::string_view section);

}  // namespace sim
