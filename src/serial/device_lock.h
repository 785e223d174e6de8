#pragma once

#include <filesystem>

#include "serial/unique_fd.h"

// Opening a serial device for exclusive use. Root ignores TIOCEXCL, so exclusivity is an
// advisory flock that every user of the device in this program takes, plus respect for
// the UUCP lock files other terminal programs leave.
namespace serial {

enum class DeviceOpenFailure { None, Missing, Busy, Failed };

struct LockedDevice {
    UniqueFd fd;
    DeviceOpenFailure failure = DeviceOpenFailure::None;
    int error = 0;  // errno of the failing step, 0 on success or for a live UUCP lock
};

// Opens the device read-write, non-blocking, not as controlling terminal, close-on-exec,
// and takes an exclusive flock without waiting. The lock goes with the descriptor.
LockedDevice OpenLockedDevice(const std::filesystem::path& device);

}  // namespace serial
