#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "serial/unique_fd.h"

// UUCP lock files (LCK..<device name>), the convention of common terminal programs for
// saying "this serial port is mine".
namespace serial {

// $TARVEL4410_LOCK_DIR when set (tests point it at a folder of their own), else /var/lock.
std::filesystem::path UucpLockDir();

// The process id written in a lock file: ASCII digits (HDB style, spaces and a line end
// allowed) or a native binary int (old style). nullopt for anything else.
std::optional<long> ParseUucpLockPid(std::string_view content);

// Who keeps a port: a live process (with its program name when it can be read), or a lock
// file that is no file at all (a FIFO, a folder, a link), which is never opened.
struct PortUser {
    long pid = 0;                    // 0 when not known
    std::string program;             // empty when not known
    std::string fileOwner;           // the lock file's owner, when there is a lock file
    std::filesystem::path notAFile;  // set for a lock file that is not a regular file
};

// The other process or thing that keeps the device's lock file (by the device's final name,
// e.g. ttyUSB0), if any. A stale or unreadable file does not count, nor does a lock of this
// process: what it locked, it may open. Never blocks, whatever is in the lock file's place.
std::optional<PortUser> UucpLockUser(const std::filesystem::path& device);

// The device's lock file, written with this process's id (HDB style) and kept for as long
// as this object lives. Our programs also hold an exclusive flock on the file itself, so
// that a stale lock is only ever removed by one of them, and never a fresh one.
class UucpLock {
public:
    UucpLock(UucpLock&&) noexcept = default;
    UucpLock& operator=(UucpLock&& other) noexcept
    {
        if (this != &other) {
            release();
            m_lockFile = std::move(other.m_lockFile);
            m_fd = std::move(other.m_fd);
        }
        return *this;
    }
    ~UucpLock() { release(); }

    struct NotWritten {
        std::filesystem::path lockFile;
        int error = 0;
    };
    using Outcome = std::variant<UucpLock, PortUser, NotWritten>;
    // The lock, or who keeps it already, or why it could not be written. A stale lock (its
    // process gone, its content unreadable) is replaced.
    static Outcome take(const std::filesystem::path& device);

private:
    UucpLock(std::filesystem::path lockFile, UniqueFd fd)
        : m_lockFile(std::move(lockFile)), m_fd(std::move(fd))
    {
    }

    void release();

    std::filesystem::path m_lockFile;
    UniqueFd m_fd;
};

// Called between the decision that a lock file is stale and its removal. Tests widen that
// window to show that two contenders never both take the port; nullptr for none.
void SetBeforeStaleLockRemoval(void (*hook)());

}  // namespace serial
