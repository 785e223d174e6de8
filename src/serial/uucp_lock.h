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
// folder and names a process that is still alive. A stale or unreadable file does not count.
bool HasLiveUucpLock(const std::filesystem::path& device);

}  // namespace serial
