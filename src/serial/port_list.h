#pragma once

#include <filesystem>
#include <vector>

#include "serial/port_map.h"

namespace serial {

// ListPorts over the given candidate devices instead of the machine's scan: each
// candidate that no present link resolves to gets a link at the lowest free number.
std::vector<PortInfo> ListPorts(const std::vector<std::filesystem::path>& candidates);

}  // namespace serial
