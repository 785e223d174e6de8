#pragma once

#include "cli_options.h"

namespace cli {

class TerminalUser;

enum ExitStatus : int { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

// Runs one command of the command line with the program's document and transmitter.
int RunCommand(const Options& options, TerminalUser& user);

}  // namespace cli
