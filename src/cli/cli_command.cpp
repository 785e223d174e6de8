#include "cli/cli_command.h"

#include "hart/output_file.h"

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
    add(AfterFlag("--trace", OptionalFileValue("FILE", m_traceFile)));
}

namespace {

bool IsOption(const std::string& word) { return word.rfind("--", 0) == 0 || word == "-h"; }

}  // namespace

// Flags and their values may come in any order; the words without a flag fill the plain
// arguments in their declared order.
std::string Command::parse(const std::vector<std::string>& words, const GlobalOptionReader& global)
{
    std::vector<bool> given(m_arguments.size(), false);
    const auto store = [&](std::size_t index, const std::string& word) -> std::string {
        const Argument& argument = m_arguments[index];
        given[index] = true;
        if (argument.namesFile) m_files.push_back(word);
        if (argument.store(word)) return {};
        return m_name + ": " + argument.valueName + " must be " + argument.expected + ", not \"" +
               word + "\"";
    };
    std::size_t plain = 0;  // the next argument a word without a flag may fill
    for (std::size_t next = 0; next < words.size(); ++next) {
        const std::string& word = words[next];
        std::size_t index = 0;
        while (index < m_arguments.size() &&
               (m_arguments[index].flag.empty() || m_arguments[index].flag != word))
            ++index;
        if (index < m_arguments.size()) {
            const Argument& argument = m_arguments[index];
            if (given[index]) return m_name + ": unexpected argument " + word;
            if (argument.valueName.empty()) {
                given[index] = true;
                argument.store(argument.flag);
                continue;
            }
            if (++next == words.size())
                return m_name + ": " + argument.valueName + " missing after " + argument.flag;
            if (std::string error = store(index, words[next]); !error.empty()) return error;
            continue;
        }
        std::string error;
        if (const std::size_t taken = global ? global(words, next, error) : 0; taken > 0) {
            next += taken - 1;
            continue;
        }
        if (!error.empty()) return error;
        // Never a file name: "read --help" must not read and save a file called --help.
        if (IsOption(word)) return m_name + ": unknown option " + word;
        while (plain < m_arguments.size() && !m_arguments[plain].flag.empty()) ++plain;
        if (plain == m_arguments.size()) return m_name + ": unexpected argument " + word;
        if (std::string error = store(plain++, word); !error.empty()) return error;
    }
    for (std::size_t index = 0; index < m_arguments.size(); ++index)
        if (!given[index] && !m_arguments[index].optional)
            return m_name + ": " + m_arguments[index].syntax() + " missing";
    // A command must not write over a file it reads or writes: the trace onto the
    // configuration would destroy it.
    for (std::size_t first = 0; first < m_files.size(); ++first)
        for (std::size_t second = first + 1; second < m_files.size(); ++second)
            if (m_files[first] != "-" && m_files[second] != "-" &&
                hart::SameFile(m_files[first], m_files[second]))
                return m_name + ": " + m_files[first] + " and " + m_files[second] +
                       " name the same file";
    return {};
}

}  // namespace cli
