#include "serial/device_holders.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

#include "serial/unique_fd.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPtsPrefix = "/dev/pts/";

std::optional<long> ParseNumber(std::string_view text)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

class DirReader {
public:
    explicit DirReader(const char* path) : m_dir(::opendir(path)) {}
    ~DirReader()
    {
        if (m_dir != nullptr) {
            ::closedir(m_dir);
        }
    }
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;

    // The next entry's name, or nullptr at the end (or when the folder could not be read).
    const char* next()
    {
        const dirent* entry = m_dir != nullptr ? ::readdir(m_dir) : nullptr;
        return entry != nullptr ? entry->d_name : nullptr;
    }

private:
    DIR* m_dir;
};

std::string ReadLink(const std::string& path)
{
    char buffer[256];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// The pseudo-terminal number a master descriptor serves ("tty-index" of its fdinfo).
std::optional<long> MasterIndex(const std::string& fdInfoPath)
{
    UniqueFd fd(::open(fdInfoPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return std::nullopt;
    }
    char buffer[512];
    const ssize_t length = ::read(fd.get(), buffer, sizeof buffer - 1);
    if (length <= 0) {
        return std::nullopt;
    }
    const std::string_view info(buffer, static_cast<std::size_t>(length));
    constexpr std::string_view kKey = "tty-index:";
    const std::size_t at = info.find(kKey);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view value = info.substr(at + kKey.size());
    value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
    return ParseNumber(value.substr(0, value.find('\n')));
}

bool IsMasterMultiplexer(const std::string& target)
{
    return target == "/dev/ptmx" || target == "/dev/pts/ptmx";
}

struct ProcessUse {
    bool device = false;
    bool masterOfSameLine = false;
};

ProcessUse UseOf(const std::string& pid, const std::string& device, std::optional<long> ptyIndex)
{
    ProcessUse use;
    const std::string fdDir = "/proc/" + pid + "/fd";
    DirReader fds(fdDir.c_str());
    while (const char* name = fds.next()) {
        if (name[0] == '.') {
            continue;
        }
        const std::string target = ReadLink(fdDir + "/" + name);
        if (target == device) {
            use.device = true;
        } else if (ptyIndex && IsMasterMultiplexer(target)) {
            use.masterOfSameLine |= MasterIndex("/proc/" + pid + "/fdinfo/" + name) == ptyIndex;
        }
    }
    return use;
}

}  // namespace

bool OpenByAnotherProcess(const fs::path& device)
{
    std::error_code error;
    const std::string wanted = fs::canonical(device, error).string();
    if (error) {
        return false;
    }
    std::optional<long> ptyIndex;
    if (std::string_view(wanted).starts_with(kPtsPrefix)) {
        ptyIndex = ParseNumber(std::string_view(wanted).substr(kPtsPrefix.size()));
    }
    const long self = static_cast<long>(::getpid());
    DirReader processes("/proc");
    while (const char* name = processes.next()) {
        const auto pid = ParseNumber(name);
        if (!pid || *pid == self) {
            continue;
        }
        const ProcessUse use = UseOf(name, wanted, ptyIndex);
        if (use.device && !use.masterOfSameLine) {
            return true;
        }
    }
    return false;
}

}  // namespace serial
