#pragma once

#include <string>

namespace serial {

// A process's program name as the system shows it (/proc/<pid>/comm), empty when it cannot
// be read.
std::string ProcessName(long pid);

}  // namespace serial
