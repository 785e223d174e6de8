#pragma once

#include <filesystem>
#include <optional>

// Who has a serial device open, the way fuser(1) finds out: the process table's open files.
namespace serial {

// A process other than this one that has the device open, by its id. A process that holds
// the master side of the same pseudo-terminal is the far end of that line (a simulated
// device), not a program using the port, and does not count; neither does what cannot be
// read (another user's processes, unless this is root). It looks at every open file of
// every process, so it is made when an operation takes the port and when ports are listed,
// not at every opening.
std::optional<long> AnotherProcessUsing(const std::filesystem::path& device);

}  // namespace serial
