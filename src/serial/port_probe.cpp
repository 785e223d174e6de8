#include "serial/port_probe.h"

#include <cerrno>

#include "serial/device_lock.h"

namespace serial {

PortState ProbeDevice(const std::filesystem::path& device)
{
    // The lock is released at once when the descriptor closes at the end of this scope.
    const LockedDevice opened = OpenLockedDevice(device);
    switch (opened.failure) {
    case DeviceOpenFailure::None: return PortState::Free;
    case DeviceOpenFailure::Missing: return PortState::Absent;
    case DeviceOpenFailure::Busy:
    case DeviceOpenFailure::Failed: break;
    }
    return PortState::Busy;
}

PortState ProbeComPort(int comNumber)
{
    const auto device = ComDevice(comNumber);
    return device ? ProbeDevice(*device) : PortState::Absent;
}

bool ComPortAccessDenied(int comNumber)
{
    const auto device = ComDevice(comNumber);
    return device && OpenLockedDevice(*device).error == EACCES;
}

}  // namespace serial
