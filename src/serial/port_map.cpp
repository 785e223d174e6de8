#include "port_map.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr const char* kToolFolder = "Tarvel 4410 Configuration Tool";

bool IsComNumber(int comNumber)
{
    return comNumber >= kFirstComNumber && comNumber <= kLastComNumber;
}

fs::path ComLinkPath(int comNumber)
{
    return PortMapDir() / ("COM" + std::to_string(comNumber));
}

// Set and absolute, as the XDG base directory rules ask.
std::optional<fs::path> AbsoluteEnvPath(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') {
        return std::nullopt;
    }
    return fs::path(value);
}

fs::path HomeDir()
{
    if (auto home = AbsoluteEnvPath("HOME")) {
        return *home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/";
}

}  // namespace

fs::path PortMapDir()
{
    const char* overridden = std::getenv("TARVEL4410_PORTS_DIR");
    if (overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
    const fs::path configHome = AbsoluteEnvPath("XDG_CONFIG_HOME").value_or(HomeDir() / ".config");
    return configHome / kToolFolder / "ports";
}

std::optional<fs::path> ComDevice(int comNumber)
{
    if (!IsComNumber(comNumber)) {
        return std::nullopt;
    }
    std::error_code error;
    const fs::path link = ComLinkPath(comNumber);
    if (!fs::is_symlink(fs::symlink_status(link, error))) {
        return std::nullopt;
    }
    fs::path device = fs::canonical(link, error);
    if (error) {
        return std::nullopt;
    }
    return device;
}

std::optional<int> LinkComPort(const fs::path& target, int comNumber)
{
    if (comNumber != 0 && !IsComNumber(comNumber)) {
        return std::nullopt;
    }
    std::error_code error;
    fs::create_directories(PortMapDir(), error);
    if (error) {
        return std::nullopt;
    }
    const int first = comNumber == 0 ? kFirstComNumber : comNumber;
    const int last = comNumber == 0 ? kLastComNumber : comNumber;
    for (int candidate = first; candidate <= last; ++candidate) {
        // symlink() refuses an existing name, so two processes linking at once never
        // share a number: the loser moves on to the next one.
        if (::symlink(target.c_str(), ComLinkPath(candidate).c_str()) == 0) {
            return candidate;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void UnlinkComPort(int comNumber, const fs::path& target)
{
    if (!IsComNumber(comNumber)) {
        return;
    }
    std::error_code error;
    const fs::path link = ComLinkPath(comNumber);
    const fs::path current = fs::read_symlink(link, error);
    if (!error && current == target) {
        fs::remove(link, error);
    }
}

}  // namespace serial
