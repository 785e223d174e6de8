#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "question_box.h"

namespace cli {

struct Options {
    std::optional<int> port;
    std::map<int, std::deque<document::Button>> answers;  // string id → answers in order
    std::string command;
    std::vector<std::string> arguments;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // a usage error when options is empty
};

// tarvel4410-cli [--port N] [--answer ID=BUTTON]... COMMAND [ARGS]
ParseResult ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

// The current of "fixed-current MA": digits with at most one decimal point or comma, above 0.
std::optional<float> ParseMilliamps(const std::string& text);

}  // namespace cli
