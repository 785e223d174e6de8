#pragma once

#include "cli/cli_options.h"

namespace cli {

class TerminalUser;

enum ExitStatus : int { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

inline int Status(bool done) { return done ? kExitDone : kExitFailed; }

// Runs the parsed command with the program's document and transmitter.
int RunCommand(const Options& options, TerminalUser& user);

}  // namespace cli
