#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/simulator_setup.h"

namespace sim {

struct StateFileResult {
    SimulatorSetup setup;
    // "line N: …" for a line that could not be taken, then what does not fit together.
    std::vector<std::string> errors;
    bool ok() const { return errors.empty(); }
};

// The simulator's initial state as an INI file with the sections [identity], [config],
// [thermometer], [process] and [faults]; example-state.ini describes every key. Section and
// key names ignore case, ';' and '#' start comments, keys not given keep their defaults.
// A bad line is reported and skipped; the other lines still count.
class StateFile {
public:
    static StateFileResult parse(std::string_view text, SimulatorSetup base = {});
    static StateFileResult load(const std::filesystem::path& path, SimulatorSetup base = {});
};

}  // namespace sim
