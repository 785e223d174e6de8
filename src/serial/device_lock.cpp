#include "serial/device_lock.h"

#include <cerrno>
#include <fcntl.h>

#include "serial/exclusive_lock.h"
#include "serial/uucp_lock.h"

namespace serial {

namespace {

int OpenRetryingOnSignal(const std::filesystem::path& device)
{
    int fd = -1;
    do {
        fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

DeviceOpenFailure ClassifyOpenError(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return DeviceOpenFailure::Missing;
    case EBUSY:  // TIOCEXCL set by somebody else
        return DeviceOpenFailure::Busy;
    default: return DeviceOpenFailure::Failed;
    }
}

}  // namespace

LockedDevice OpenLockedDevice(const std::filesystem::path& device)
{
    LockedDevice result;
    // Checked before opening: opening a real UART raises its modem lines, which would
    // disturb the program that holds it. Only the cheap checks are made here, at every
    // opening; the look for processes that use the device without any lock is the port
    // hold's and the port list's (serial/device_holders.h).
    if (UucpLockUser(device)) {
        result.failure = DeviceOpenFailure::Busy;
        return result;
    }
    UniqueFd fd(OpenRetryingOnSignal(device));
    if (!fd.valid()) {
        result.error = errno;
        result.failure = ClassifyOpenError(result.error);
        return result;
    }
    if (!TryLockExclusive(fd.get())) {
        result.error = errno;
        result.failure = errno == EWOULDBLOCK ? DeviceOpenFailure::Busy : DeviceOpenFailure::Failed;
        return result;
    }
    result.fd = std::move(fd);
    return result;
}

}  // namespace serial
