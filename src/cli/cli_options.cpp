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

constexpr const char* kProgramOptions =
    "[--port N | --hart-ip HOST[:PORT] [--tcp]] [--address N] [--answer ID=BUTTON]...";

}  // namespace

std::string UsageText()
{
    const auto commands = MakeCommands();
    std::size_t width = 0;
    for (const auto& command : commands) width = std::max(width, command->usage().size());
    std::string text = "usage: tarvel4410-cli " + std::string(kProgramOptions) +
                       " COMMAND [ARGS]\n"
                       "       tarvel4410-cli --help\n"
                       "       tarvel4410-cli COMMAND --help\n"
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
           "\n--port, --hart-ip, --tcp, --address, --answer and --trace may stand before or after "
           "the command"
           "\n--address N: the transmitter's polling address on a multidrop line (0-15); "
           "without it, the stored one (0 unless chosen)"
           "\n--trace FILE: every frame on the line, timed and decoded, written to FILE as it goes "
           "(- for standard error)\n"
           "--hart-ip HOST[:PORT]: reach the transmitter through a HART-IP server (port 5094 "
           "unless given) instead of a COM port, over UDP, or over TCP with --tcp\n";
}

std::string CommandUsageText(const Command& command)
{
    return "usage: tarvel4410-cli " + std::string(kProgramOptions) + " " + command.usage() +
           "\n  " + command.description() + "\n";
}

namespace {

// What --hart-ip and --tcp gave, checked once all options are read.
struct Endpoint {
    std::optional<std::string> text;
    bool tcp = false;
};

// A program-wide option at words[at], wherever it stands: the number of words it takes, or 0
// with `error` set when it is wrong, or 0 when words[at] is no such option.
std::size_t ReadProgramOption(const std::vector<std::string>& words, std::size_t at,
                              Options& options, Endpoint& endpoint, std::string& error)
{
    const std::string& word = words[at];
    if (word == "--tcp") {
        endpoint.tcp = true;
        return 1;
    }
    if (word != "--port" && word != "--address" && word != "--answer" && word != "--hart-ip")
        return 0;
    if (at + 1 >= words.size()) {
        error = word == "--port"      ? "--port needs a port number"
                : word == "--address" ? "--address needs a polling address"
                : word == "--hart-ip" ? "--hart-ip needs HOST[:PORT]"
                                      : "--answer needs ID=BUTTON";
        return 0;
    }
    const std::string& value = words[at + 1];
    if (word == "--hart-ip") {
        endpoint.text = value;
        return 2;
    }
    if (word == "--address") {
        int address = 0;
        if (!ToPollingAddress(value, address)) {
            error = "--address takes a polling address from 0 to 15";
            return 0;
        }
        options.address = address;
        return 2;
    }
    if (word == "--port") {
        int port = 0;
        if (!ToPortNumber(value, port)) {
            error = "--port takes a number from 1 to 255";
            return 0;
        }
        options.port = port;
        return 2;
    }
    const auto eq = value.find('=');
    int id = 0;
    const bool idGiven = eq != std::string::npos && ToNumber(value.substr(0, eq), id);
    const auto button = eq == std::string::npos ? std::nullopt : ParseButton(value.substr(eq + 1));
    if (!idGiven || !button) {
        error = "--answer takes ID=BUTTON, BUTTON one of " + ButtonNames() + ": " + value;
        return 0;
    }
    options.answers[id].push_back(*button);
    return 2;
}

bool IsHelp(const std::string& word) { return word == "--help" || word == "-h"; }

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    // A --trace before the command is the command's own, given early.
    std::vector<std::string> early;
    Endpoint endpoint;
    const auto read = [&options, &endpoint](const std::vector<std::string>& all, std::size_t at,
                                            std::string& why) {
        return ReadProgramOption(all, at, options, endpoint, why);
    };
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string error;
        if (IsHelp(arg)) return {std::nullopt, true, {}, UsageText()};
        if (const std::size_t taken = read(args, i, error); taken > 0) {
            i += taken - 1;
        } else if (!error.empty()) {
            return {std::nullopt, false, error, {}};
        } else if (arg == "--trace") {
            if (i + 1 >= args.size()) return {std::nullopt, false, "--trace needs a FILE", {}};
            early = {arg, args[++i]};
        } else if (arg.rfind("--", 0) == 0) {
            return {std::nullopt, false, "unknown option " + arg, {}};
        } else {
            break;
        }
    }
    if (i >= args.size()) return {std::nullopt, false, "no command given", {}};
    options.command = FindCommand(args[i]);
    if (!options.command) return {std::nullopt, false, "unknown command " + args[i], {}};
    std::vector<std::string> words(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (std::any_of(words.begin(), words.end(), IsHelp))
        return {std::nullopt, true, {}, CommandUsageText(*options.command)};
    words.insert(words.end(), early.begin(), early.end());
    const std::string error = options.command->parse(words, read);
    if (!error.empty()) return {std::nullopt, false, error, {}};
    if (endpoint.text) {
        if (options.port)
            return {std::nullopt, false, "--port and --hart-ip exclude each other: give one", {}};
        options.hartIp = hart::HartIpEndpoint::Parse(*endpoint.text, endpoint.tcp);
        if (!options.hartIp)
            return {std::nullopt,
                    false,
                    "--hart-ip takes HOST[:PORT], PORT from 1 to 65535: " + *endpoint.text,
                    {}};
    } else if (endpoint.tcp) {
        return {std::nullopt, false, "--tcp needs --hart-ip", {}};
    }
    return {std::move(options), false, {}, {}};
}

}  // namespace cli
