#pragma once

#include <memory>

#include "cli/cli_command.h"

namespace cli {

// "monitor [--cycles N]": the Information section's lines each cycle, until N cycles or an
// interrupt.
std::unique_ptr<Command> MakeMonitorCommand();

}  // namespace cli
