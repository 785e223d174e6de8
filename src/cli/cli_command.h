#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_arguments.h"

namespace document {
class CVeskDoc;
}

namespace cli {

class TerminalUser;

// Takes a program-wide option at words[at], with its value: how many words it took, 0 when
// the word is no such option; error set when its value is wrong.
using GlobalOptionReader = std::function<std::size_t(const std::vector<std::string>& words,
                                                     std::size_t at, std::string& error)>;

// One command of the command line: its name, its typed arguments and what it does. The usage
// line and the parsing of the words both come from the arguments it declares.
class Command {
public:
    Command(std::string name, std::string description);
    virtual ~Command() = default;
    // The arguments point into the object.
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const std::string& name() const { return m_name; }
    const std::string& description() const { return m_description; }
    // "print FILE --pdf OUT"
    std::string usage() const;

    // Takes the words after the command's name into its arguments, in the declared order;
    // a program-wide option among them goes to global. Returns why they do not fit (an
    // unknown option, two names of one file), or an empty text.
    std::string parse(const std::vector<std::string>& words, const GlobalOptionReader& global = {});

    // Laying out text needs fonts, which only Qt's GUI side has.
    virtual bool needsFonts() const { return false; }
    // A command that talks to the transmitter keeps its port from start to end.
    virtual bool usesDevice() const { return false; }
    virtual int execute(document::CVeskDoc& doc, TerminalUser& user) const = 0;
    // The file given with --trace ("-" for standard error), for a command that offers it.
    const std::optional<std::string>& traceFile() const { return m_traceFile; }
    // Every file named by the arguments, as given.
    const std::vector<std::string>& files() const { return m_files; }

protected:
    void add(Argument argument) { m_arguments.push_back(std::move(argument)); }
    // "[--trace FILE]", after the command's own arguments.
    void addTraceOption();

private:
    std::string m_name;
    std::string m_description;
    std::vector<Argument> m_arguments;
    std::optional<std::string> m_traceFile;
    std::vector<std::string> m_files;
};

// Every command, newly made, in the order the usage lists them.
std::vector<std::unique_ptr<Command>> MakeCommands();

}  // namespace cli
