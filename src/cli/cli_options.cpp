#include "cli_options.h"

#include <charconv>
#include <set>

namespace cli {
namespace {

std::optional<int> ParseInt(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || ptr != end) return std::nullopt;
    return value;
}

std::optional<document::Button> ParseButton(const std::string& name)
{
    using namespace document;
    static const std::map<std::string, Button> kButtons = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"retry", IDRETRY}, {"yes", IDYES}, {"no", IDNO}};
    const auto it = kButtons.find(name);
    if (it == kButtons.end()) return std::nullopt;
    return it->second;
}

struct CommandShape {
    std::size_t minArgs;
    std::size_t maxArgs;
};

const std::map<std::string, CommandShape> kCommands = {
    {"ports", {0, 0}},        {"port", {1, 1}},          {"check", {0, 0}},   {"read", {0, 1}},
    {"show", {1, 1}},         {"send-basic", {1, 2}},    {"send-advanced", {1, 2}},
    {"monitor", {0, 2}},      {"print", {3, 3}},
    {"fixed-current", {1, 1}},
};

}  // namespace

std::optional<float> ParseMilliamps(const std::string& text)
{
    std::string number = text;
    for (char& ch : number)
        if (ch == ',') ch = '.';
    const bool plain = !number.empty() && number.find_first_not_of("0123456789.") == std::string::npos &&
                       number.find('.') == number.rfind('.') && number != ".";
    if (!plain) return std::nullopt;
    float value = 0.0f;
    const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc{} || ptr != number.data() + number.size() || !(value > 0.0f)) return std::nullopt;
    return value;
}

std::string UsageText()
{
    return "usage: tarvel4410-cli [--port N] [--answer ID=BUTTON]... COMMAND [ARGS]\n"
           "commands: ports | port N | check | read [FILE] | show FILE |\n"
           "          send-basic FILE [--validate] | send-advanced FILE [--validate] |\n"
           "          monitor [--cycles N] | print FILE --pdf OUT\n"
           "          fixed-current MA | fixed-current off\n"
           "buttons: ok, cancel, retry, yes, no\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port") {
            if (i + 1 >= args.size()) return {std::nullopt, "--port needs a port number"};
            const auto port = ParseInt(args[++i]);
            if (!port || *port < 1 || *port > 255) return {std::nullopt, "--port takes a number from 1 to 255"};
            options.port = *port;
        } else if (arg == "--answer") {
            if (i + 1 >= args.size()) return {std::nullopt, "--answer needs ID=BUTTON"};
            const std::string& answer = args[++i];
            const auto eq = answer.find('=');
            const auto id = eq == std::string::npos ? std::nullopt : ParseInt(answer.substr(0, eq));
            const auto button = eq == std::string::npos ? std::nullopt : ParseButton(answer.substr(eq + 1));
            if (!id || !button) return {std::nullopt, "--answer takes ID=BUTTON, BUTTON one of ok, cancel, retry, yes, no: " + answer};
            options.answers[*id].push_back(*button);
        } else if (arg.rfind("--", 0) == 0) {
            return {std::nullopt, "unknown option " + arg};
        } else {
            break;
        }
    }
    if (i >= args.size()) return {std::nullopt, "no command given"};
    options.command = args[i++];
    const auto shape = kCommands.find(options.command);
    if (shape == kCommands.end()) return {std::nullopt, "unknown command " + options.command};
    options.arguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());

    const auto& a = options.arguments;
    if (a.size() < shape->second.minArgs || a.size() > shape->second.maxArgs)
        return {std::nullopt, "wrong number of arguments for " + options.command};
    if (options.command == "port" && (!ParseInt(a[0]) || *ParseInt(a[0]) < 1 || *ParseInt(a[0]) > 255))
        return {std::nullopt, "port takes a number from 1 to 255"};
    if ((options.command == "send-basic" || options.command == "send-advanced") && a.size() == 2 && a[1] != "--validate")
        return {std::nullopt, "unknown argument " + a[1]};
    if (options.command == "print" && a[1] != "--pdf") return {std::nullopt, "print takes FILE --pdf OUT"};
    if (options.command == "fixed-current" && a[0] != "off" && !ParseMilliamps(a[0]))
        return {std::nullopt, "fixed-current takes a current in mA or off"};
    if (options.command == "monitor" && !a.empty()) {
        if (a.size() != 2 || a[0] != "--cycles") return {std::nullopt, "monitor takes --cycles N"};
        const auto cycles = ParseInt(a[1]);
        if (!cycles || *cycles < 1) return {std::nullopt, "--cycles takes a positive number"};
    }
    return {std::move(options), {}};
}

}  // namespace cli
