#include "simulator/state_file.h"

#include <fstream>
#include <sstream>

#include "simulator/setup_validation.h"
#include "simulator/state_keys.h"
#include "simulator/value_parsing.h"

namespace sim {

namespace {

// A comment starts with ';' or '#' at the start of a line or after a space, so that a tag
// such as TT#1 keeps its '#'.
std::string WithoutComment(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((line[i] == ';' || line[i] == '#') &&
            (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

}  // namespace

StateFileResult StateFile::parse(std::string_view text, SimulatorSetup base)
{
    StateFileResult result{std::move(base), {}};
    std::istringstream lines{std::string(text)};
    std::string line;
    std::string section;
    int number = 0;
    const auto report = [&](const std::string& message) {
        result.errors.push_back("line " + std::to_string(number) + ": " + message);
    };
    while (std::getline(lines, line)) {
        ++number;
        const std::string content = Trimmed(WithoutComment(line));
        if (content.empty()) continue;
        if (content.front() == '[') {
            if (content.back() != ']') {
                report("a section header needs a closing ']'");
                continue;
            }
            section = LowerCase(Trimmed(content.substr(1, content.size() - 2)));
            if (!IsStateSection(section)) {
                report("unknown section [" + section + "]");
                section = "?";
            }
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string::npos) {
            report("expected 'key = value', got '" + content + "'");
            continue;
        }
        const std::string key = LowerCase(Trimmed(content.substr(0, equals)));
        if (section.empty()) {
            report("'" + key + "' comes before any section");
            continue;
        }
        if (section == "?") continue;  // already reported with its section
        const KeyApplier* apply = FindStateKey(section, key);
        if (!apply) {
            report("unknown key '" + key + "' in [" + section + "]");
            continue;
        }
        const std::string value = content.substr(equals + 1);
        if (const auto problem = (*apply)(value, result.setup))
            report(key + " = " + Trimmed(value) + ": " + *problem);
    }
    for (std::string& problem : ValidateSetup(result.setup))
        result.errors.push_back(std::move(problem));
    return result;
}

StateFileResult StateFile::load(const std::filesystem::path& path, SimulatorSetup base)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        StateFileResult result{std::move(base), {}};
        result.errors.push_back("cannot read " + path.string());
        return result;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str(), std::move(base));
}

}  // namespace sim
