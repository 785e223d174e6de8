#pragma once

#include <filesystem>

// Who has a serial device open, the way fuser(1) finds out: the process table's open files.
namespace serial {

// Whether a process other than this one has the device open. A process that holds the
// master side of the same pseudo-terminal is the far end of that line (a simulated device),
// not a program using the port, and does not count; neither does what cannot be read.
bool OpenByAnotherProcess(const std::filesystem::path& device);

}  // namespace serial
