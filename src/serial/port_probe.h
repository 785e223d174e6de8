#pragma once

#include <filesystem>

#include "serial/port_map.h"

namespace serial {

// The busy rule behind ProbeComPort, for a device already resolved: Absent when it cannot
// be found, Busy when it is held or cannot be opened for any other reason (permissions,
// I/O error: either way this program could not use it), else Free.
PortState ProbeDevice(const std::filesystem::path& device);

// The check before each opening of COM<n> by the driver binding: the cheap checks only (the
// device opens and locks, no live lock file), and busy during a hold of this process that
// found somebody else using the port. Costs the same however many processes run.
PortState ProbeComPortForOpening(int comNumber);

// Whether COM<n>'s device is there but this user may not open it (EACCES): the usual case of
// a user outside the group that owns serial devices. False while somebody else holds it.
bool ComPortAccessDenied(int comNumber);

}  // namespace serial
