#include "simulator/multidrop_setup.h"

#include <string>

namespace sim {

void PlaceOnMultidropLine(std::vector<SimulatorSetup>& setups)
{
    for (std::size_t i = 0; i < setups.size(); ++i) {
        DeviceState& state = setups[i].state;
        state.identity.pollAddress = static_cast<std::uint8_t>(i + 1);
        state.identity.deviceId = (state.identity.deviceId + i) & 0xFFFFFF;
        state.config.tag = "TT-" + std::to_string(i + 1);
    }
}

std::vector<SimulatorSetup> MultidropSetups(const SimulatorSetup& setup, int count)
{
    std::vector<SimulatorSetup> setups(static_cast<std::size_t>(count), setup);
    PlaceOnMultidropLine(setups);
    return setups;
}

}  // namespace sim
