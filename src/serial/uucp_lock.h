#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// UUCP lock files (LCK..<device name>), the convention of common terminal programs for
// saying "this serial port is mine".
namespace serial {

// $TARVEL4410_LOCK_DIR when set (tests point it at a folder of their own), else /var/lock.
std::filesystem::path UucpLockDir();

// The process id written in a lock file: ASCII digits (HDB style, spaces and a line end
// allowed) or a native binary int (old style). nullopt for anything else.
std::optional<long> ParseUucpLockPid(std::string_view content);

// Whether a lock file for the device (by its final name, e.g. ttyUSB0) exists in the lock
// folder and names another process that is still alive. A stale or unreadable file does not
// count, nor does a lock of this process: what it locked, it may open.
bool HasLiveUucpLock(const std::filesystem::path& device);

// Writes the device's lock file with this process's id (HDB style), replacing a stale one.
// False when another live process holds it or the lock folder cannot be written.
bool CreateUucpLock(const std::filesystem::path& device);

// Removes the device's lock file when it is this process's.
void RemoveUucpLock(const std::filesystem::path& device);

}  // namespace serial
