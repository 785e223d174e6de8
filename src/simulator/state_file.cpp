#include "simulator/state_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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

// A state file is a few hundred bytes; anything near this is not one.
constexpr std::size_t kMaxStateFileBytes = 1 << 20;

// The file's text, read only when it is a regular file of a sensible size: a device such as
// /dev/zero never ends, and a FIFO would wait for a writer.
std::optional<std::string> ReadBounded(const std::filesystem::path& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status {};
    std::string text;
    if (::fstat(fd, &status) != 0) {
        error = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        error = "not a regular file";
    } else if (static_cast<std::size_t>(status.st_size) > kMaxStateFileBytes) {
        error = "larger than a state file can be";
    } else {
        char buffer[4096];
        ssize_t count = 0;
        while (text.size() <= kMaxStateFileBytes && (count = ::read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(count));
        if (count < 0) error = std::strerror(errno);
        if (text.size() > kMaxStateFileBytes) error = "larger than a state file can be";
    }
    ::close(fd);
    if (!error.empty()) return std::nullopt;
    return text;
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
    std::string error;
    const std::optional<std::string> text = ReadBounded(path, error);
    if (!text) {
        StateFileResult result{std::move(base), {}};
        result.errors.push_back("cannot read " + path.string() + ": " + error);
        return result;
    }
    return parse(*text, std::move(base));
}

}  // namespace sim
