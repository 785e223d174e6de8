#include "serial/port_probe.h"

#include <cerrno>

#include "serial/device_holders.h"
#include "serial/device_lock.h"
#include "serial/port_hold.h"

namespace serial {

namespace {

// The cheap checks of every opening: the device is there, can be opened and locked, and no
// live lock file names another process.
PortState ProbeOpening(const std::filesystem::path& device)
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

}  // namespace

PortState ProbeDevice(const std::filesystem::path& device)
{
    const PortState state = ProbeOpening(device);
    // Another program may use the device without any lock at all: it is no less in use.
    return state == PortState::Free && AnotherProcessUsing(device) ? PortState::Busy : state;
}

PortState ProbeComPort(int comNumber)
{
    const auto device = ComDevice(comNumber);
    return device ? ProbeDevice(*device) : PortState::Absent;
}

PortState ProbeComPortForOpening(int comNumber)
{
    const auto device = ComDevice(comNumber);
    if (!device) {
        return PortState::Absent;
    }
    return HeldBusyElsewhere(*device) ? PortState::Busy : ProbeOpening(*device);
}

bool ComPortAccessDenied(int comNumber)
{
    const auto device = ComDevice(comNumber);
    return device && OpenLockedDevice(*device).error == EACCES;
}

}  // namespace serial
