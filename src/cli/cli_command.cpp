#include "cli/cli_command.h"

namespace cli {

Command::Command(std::string name, std::string description)
    : m_name(std::move(name)), m_description(std::move(description))
{
}

std::string Command::usage() const
{
    std::string line = m_name;
    for (const Argument& argument : m_arguments) line += " " + argument.syntax();
    return line;
}

void Command::addTraceOption()
{
    add(AfterFlag("--trace", OptionalValue("FILE", m_traceFile, ToText)));
}

bool Command::isFlag(const std::string& word) const
{
    for (const Argument& argument : m_arguments)
        if (!argument.flag.empty() && argument.flag == word) return true;
    return false;
}

std::string Command::parse(const std::vector<std::string>& words)
{
    std::size_t next = 0;
    for (const Argument& argument : m_arguments) {
        // An optional word in its place leaves a later flag alone: "read --trace t.txt".
        const bool given = next < words.size() &&
                           (argument.flag.empty() ? !(argument.optional && isFlag(words[next]))
                                                  : words[next] == argument.flag);
        if (!given) {
            if (argument.optional) continue;
            return m_name + ": " + argument.syntax() + " missing";
        }
        if (!argument.flag.empty()) ++next;
        if (argument.valueName.empty()) {
            argument.store(argument.flag);
            continue;
        }
        if (next == words.size())
            return m_name + ": " + argument.valueName + " missing after " + argument.flag;
        if (!argument.store(words[next]))
            return m_name + ": " + argument.valueName + " must be " + argument.expected +
                   ", not \"" + words[next] + "\"";
        ++next;
    }
    if (next < words.size()) return m_name + ": unexpected argument " + words[next];
    return {};
}

}  // namespace cli
