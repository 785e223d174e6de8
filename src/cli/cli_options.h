#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "document/question_box.h"
#include "hart/hartip_endpoint.h"

namespace cli {

struct Options {
    std::optional<int> port;
    std::optional<hart::HartIpEndpoint> hartIp;           // instead of the COM port
    std::optional<int> address;                           // the polling address, 0–15
    std::map<int, std::deque<document::Button>> answers;  // string id → answers in order
    std::unique_ptr<Command> command;                     // its arguments taken
};

struct ParseResult {
    std::optional<Options> options;
    bool help = false;  // --help or -h: the usage, nothing run
    std::string error;  // a usage error when there are neither options nor help
    std::string usage;  // what --help prints: the program's usage, or after a command its own
};

// tarvel4410-cli [--port N | --hart-ip HOST[:PORT] [--tcp]] [--address N] [--answer ID=BUTTON]...
// COMMAND [ARGS]; the program-wide options may also follow the command.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The usage, a line for each command of the command table.
std::string UsageText();
// One command's usage and what it does.
std::string CommandUsageText(const Command& command);

}  // namespace cli
