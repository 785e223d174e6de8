#include "serial/port_map.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "serial/exclusive_lock.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr const char* kToolFolder = "Tarvel 4410 Configuration Tool";

bool IsComNumber(int comNumber)
{
    return comNumber >= kFirstComNumber && comNumber <= kLastComNumber;
}

fs::path ComLinkPath(int comNumber) { return PortMapDir() / ("COM" + std::to_string(comNumber)); }

constexpr std::string_view kOwnerSuffix = ".owner";

fs::path OwnerLockPath(int comNumber)
{
    fs::path path = ComLinkPath(comNumber);
    path += kOwnerSuffix;
    return path;
}

// n of a "COM<n>.owner" file name.
std::optional<int> OwnerLockNumber(std::string_view name)
{
    constexpr std::string_view kPrefix = "COM";
    if (!name.starts_with(kPrefix) || !name.ends_with(kOwnerSuffix)) {
        return std::nullopt;
    }
    const std::string_view digits =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kOwnerSuffix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        !IsComNumber(number)) {
        return std::nullopt;
    }
    return number;
}

// The lock is taken under a private name and the file renamed into place, so nobody ever
// finds an owner file that is not locked while its maker lives.
UniqueFd CreateOwnerLock(int comNumber)
{
    fs::path privatePath = OwnerLockPath(comNumber);
    privatePath += "." + std::to_string(::getpid());
    ::unlink(privatePath.c_str());
    UniqueFd fd(::open(privatePath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd.valid() || !TryLockExclusive(fd.get()) ||
        ::rename(privatePath.c_str(), OwnerLockPath(comNumber).c_str()) != 0) {
        ::unlink(privatePath.c_str());
        return UniqueFd();
    }
    return fd;
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
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
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

void RemoveOrphanedComLinks()
{
    std::error_code error;
    for (fs::directory_iterator entry(PortMapDir(), error), end; !error && entry != end;
         entry.increment(error)) {
        const auto comNumber = OwnerLockNumber(entry->path().filename().native());
        if (!comNumber) {
            continue;
        }
        UniqueFd fd(::open(entry->path().c_str(), O_RDWR | O_CLOEXEC));
        // Locked means the maker lives (in this process too: flock conflicts per opening).
        if (!fd.valid() || !TryLockExclusive(fd.get())) {
            continue;
        }
        std::error_code ignored;
        fs::remove(ComLinkPath(*comNumber), ignored);
        fs::remove(entry->path(), ignored);
    }
}

std::optional<OwnedComLink> LinkOwnedComPort(const fs::path& target, int comNumber)
{
    const auto linked = LinkComPort(target, comNumber);
    if (!linked) {
        return std::nullopt;
    }
    return OwnedComLink{*linked, CreateOwnerLock(*linked)};
}

std::optional<int> LinkComPort(const fs::path& target, int comNumber)
{
    if (comNumber != 0 && !IsComNumber(comNumber)) {
        return std::nullopt;
    }
    RemoveOrphanedComLinks();
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
        fs::remove(OwnerLockPath(comNumber), error);
    }
}

}  // namespace serial
