#pragma once

#include <memory>

#include "cli/cli_command.h"

namespace cli {

// "monitor [--cycles N] [--csv FILE]": the Information section's lines each cycle, until N
// cycles or an interrupt; with --csv also one CSV row a cycle, written as it comes.
std::unique_ptr<Command> MakeMonitorCommand();

}  // namespace cli
