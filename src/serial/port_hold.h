#pragma once

#include <filesystem>
#include <utility>

namespace serial {

// Keeps a COM port for this process over a whole operation, between the transactions that
// open and close it: a UUCP lock file with this process's id, which every instance of this
// program (and common terminal programs) takes for "busy" while this process's own openings
// pass. Holds of one device within the process nest; the last one ends the lock. A hold that
// cannot be taken (a port held elsewhere, a lock folder this user cannot write) leaves the
// operation to meet the busy port at its first opening.
class PortHold {
public:
    explicit PortHold(int comNumber);
    ~PortHold();
    PortHold(PortHold&& other) noexcept : m_device(std::exchange(other.m_device, {})) {}
    PortHold(const PortHold&) = delete;
    PortHold& operator=(const PortHold&) = delete;

    bool held() const { return !m_device.empty(); }

private:
    std::filesystem::path m_device;
};

}  // namespace serial
