#pragma once

#include <filesystem>
#include <optional>
#include <utility>

#include "serial/uucp_lock.h"

namespace serial {

// Keeps a COM port for this process over a whole operation, between the transactions that
// open and close it: a UUCP lock file with this process's id, which every instance of this
// program (and common terminal programs) takes for "busy" while this process's own openings
// pass. Taking it is also when other processes that have the device open are looked for:
// when one does, or the lock is another's, the port is busy for the whole hold and every
// opening of it in this process is refused. A lock folder this user cannot write leaves the
// operation to go on without the lock file. Holds of one device within the process nest;
// the first one decides, the last one ends the lock.
class PortHold {
public:
    // Holds no port: for a link that does not go through one.
    PortHold() = default;
    explicit PortHold(int comNumber);
    ~PortHold();
    PortHold(PortHold&& other) noexcept
        : m_device(std::exchange(other.m_device, {})), m_held(other.m_held),
          m_busyWith(std::move(other.m_busyWith)),
          m_lockNotWritten(std::move(other.m_lockNotWritten))
    {
    }
    PortHold(const PortHold&) = delete;
    PortHold& operator=(const PortHold&) = delete;

    // The lock file is this process's, and nobody else was found using the device.
    bool held() const { return m_held; }
    // Who keeps the port, when somebody else does.
    const std::optional<PortUser>& busyWith() const { return m_busyWith; }
    // Where the lock file could not be written, and why.
    const std::optional<UucpLock::NotWritten>& lockNotWritten() const { return m_lockNotWritten; }

private:
    std::filesystem::path m_device;  // empty when the port does not exist
    bool m_held = false;
    std::optional<PortUser> m_busyWith;
    std::optional<UucpLock::NotWritten> m_lockNotWritten;
};

// Whether a hold of this process found the device busy: its openings are then refused.
bool HeldBusyElsewhere(const std::filesystem::path& device);

}  // namespace serial
