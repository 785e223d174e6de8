#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/string_ids.h"

namespace cli {
namespace {

using document::Button;

// In the order the usage lists them.
constexpr std::array<std::pair<const char*, Button>, 5> kButtons = {{
    {"ok", document::IDOK},
    {"cancel", document::IDCANCEL},
    {"retry", document::IDRETRY},
    {"yes", document::IDYES},
    {"no", document::IDNO},
}};

// The questions a command may ask, which --answer takes by their ids.
constexpr std::array<std::pair<int, const char*>, 2> kQuestions = {{
    {tarvel::kQuestionOutputChange, "the loop current is about to change (ok, cancel)"},
    {tarvel::kMessageNotFound, "the transmitter did not answer (retry, cancel)"},
}};

std::string ButtonNames()
{
    std::string names;
    for (const auto& [name, button] : kButtons)
        names += (names.empty() ? "" : ", ") + std::string(name);
    return names;
}

std::optional<Button> ParseButton(const std::string& name)
{
    const auto it = std::find_if(kButtons.begin(), kButtons.end(),
                                 [&](const auto& entry) { return name == entry.first; });
    if (it == kButtons.end()) return std::nullopt;
    return it->second;
}

std::unique_ptr<Command> FindCommand(const std::string& name)
{
    for (auto& command : MakeCommands())
        if (command->name() == name) return std::move(command);
    return nullptr;
}

}  // namespace

std::string UsageText()
{
    const auto commands = MakeCommands();
    std::size_t width = 0;
    for (const auto& command : commands) width = std::max(width, command->usage().size());
    std::string text = "usage: tarvel4410-cli [--port N | --hart-ip HOST[:PORT] [--tcp]] "
                       "[--answer ID=BUTTON]... COMMAND [ARGS]\n"
                       "       tarvel4410-cli --help\n"
                       "commands:\n";
    for (const auto& command : commands) {
        const std::string usage = command->usage();
        text += "  " + usage + std::string(width - usage.size() + 2, ' ') + command->description() +
                "\n";
    }
    text += "questions:\n";
    for (const auto& [id, question] : kQuestions)
        text += "  " + std::to_string(id) + "  " + question + "\n";
    return text + "buttons: " + ButtonNames() +
           "\n--trace FILE: every frame on the line, timed and decoded, written to FILE as it goes "
           "(- for standard error)\n"
           "--hart-ip HOST[:PORT]: reach the transmitter through a HART-IP server (port 5094 "
           "unless given) instead of a COM port, over UDP, or over TCP with --tcp\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    std::optional<std::string> hartIpText;
    bool tcp = false;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {std::nullopt, true, {}};
        } else if (arg == "--port") {
            if (i + 1 >= args.size()) return {std::nullopt, false, "--port needs a port number"};
            int port = 0;
            if (!ToPortNumber(args[++i], port))
                return {std::nullopt, false, "--port takes a number from 1 to 255"};
            options.port = port;
        } else if (arg == "--hart-ip") {
            if (i + 1 >= args.size()) return {std::nullopt, false, "--hart-ip needs HOST[:PORT]"};
            hartIpText = args[++i];
        } else if (arg == "--tcp") {
            tcp = true;
        } else if (arg == "--answer") {
            if (i + 1 >= args.size()) return {std::nullopt, false, "--answer needs ID=BUTTON"};
            const std::string& answer = args[++i];
            const auto eq = answer.find('=');
            int id = 0;
            const bool idGiven = eq != std::string::npos && ToNumber(answer.substr(0, eq), id);
            const auto button =
                eq == std::string::npos ? std::nullopt : ParseButton(answer.substr(eq + 1));
            if (!idGiven || !button)
                return {std::nullopt, false,
                        "--answer takes ID=BUTTON, BUTTON one of " + ButtonNames() + ": " + answer};
            options.answers[id].push_back(*button);
        } else if (arg.rfind("--", 0) == 0) {
            return {std::nullopt, false, "unknown option " + arg};
        } else {
            break;
        }
    }
    if (hartIpText) {
        if (options.port)
            return {std::nullopt, false, "--port and --hart-ip exclude each other: give one"};
        options.hartIp = hart::HartIpEndpoint::Parse(*hartIpText, tcp);
        if (!options.hartIp)
            return {std::nullopt, false,
                    "--hart-ip takes HOST[:PORT], PORT from 1 to 65535: " + *hartIpText};
    } else if (tcp) {
        return {std::nullopt, false, "--tcp needs --hart-ip"};
    }
    if (i >= args.size()) return {std::nullopt, false, "no command given"};
    options.command = FindCommand(args[i]);
    if (!options.command) return {std::nullopt, false, "unknown command " + args[i]};
    const std::string error =
        options.command->parse({args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end()});
    if (!error.empty()) return {std::nullopt, false, error};
    return {std::move(options), false, {}};
}

}  // namespace cli
