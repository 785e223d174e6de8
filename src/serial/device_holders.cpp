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

// Reads a folder's entry names; the folder is named relative to an open folder, so that a
// scan of the whole process table builds no paths.
class DirReader {
public:
    DirReader(int parentFd, const char* path)
    {
        const int fd = ::openat(parentFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        m_dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (fd >= 0 && m_dir == nullptr) {
            ::close(fd);
        }
    }
    ~DirReader()
    {
        if (m_dir != nullptr) {
            ::closedir(m_dir);
        }
    }
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;

    int fd() const { return m_dir != nullptr ? ::dirfd(m_dir) : -1; }

    // The next entry's name, or nullptr at the end (or when the folder could not be read).
    const char* next()
    {
        const dirent* entry = m_dir != nullptr ? ::readdir(m_dir) : nullptr;
        return entry != nullptr ? entry->d_name : nullptr;
    }

private:
    DIR* m_dir = nullptr;
};

// The pseudo-terminal number a master descriptor serves ("tty-index" of its fdinfo).
std::optional<long> MasterIndex(int processFd, const char* fdName)
{
    const std::string path = std::string("fdinfo/") + fdName;
    UniqueFd fd(::openat(processFd, path.c_str(), O_RDONLY | O_CLOEXEC));
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

bool IsMasterMultiplexer(std::string_view target)
{
    return target == "/dev/ptmx" || target == "/dev/pts/ptmx";
}

// Whether the process uses the device, and is not the far end of the same pseudo-terminal.
bool Uses(int procFd, const char* pid, std::string_view device, std::optional<long> ptyIndex)
{
    const UniqueFd processFd(::openat(procFd, pid, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DirReader fds(processFd.get(), "fd");
    bool uses = false;
    bool masterOfSameLine = false;
    char target[256];
    while (const char* name = fds.next()) {
        if (name[0] == '.') {
            continue;
        }
        const ssize_t length = ::readlinkat(fds.fd(), name, target, sizeof target);
        if (length <= 0) {
            continue;
        }
        const std::string_view link(target, static_cast<std::size_t>(length));
        if (link == device) {
            uses = true;
        } else if (ptyIndex && IsMasterMultiplexer(link)) {
            masterOfSameLine |= MasterIndex(processFd.get(), name) == ptyIndex;
        }
    }
    return uses && !masterOfSameLine;
}

}  // namespace

std::optional<long> AnotherProcessUsing(const fs::path& device)
{
    std::error_code error;
    const std::string wanted = fs::canonical(device, error).string();
    if (error) {
        return std::nullopt;
    }
    std::optional<long> ptyIndex;
    if (std::string_view(wanted).starts_with(kPtsPrefix)) {
        ptyIndex = ParseNumber(std::string_view(wanted).substr(kPtsPrefix.size()));
    }
    const long self = static_cast<long>(::getpid());
    DirReader processes(AT_FDCWD, "/proc");
    while (const char* name = processes.next()) {
        const auto pid = ParseNumber(name);
        if (pid && *pid != self && Uses(processes.fd(), name, wanted, ptyIndex)) {
            return pid;
        }
    }
    return std::nullopt;
}

}  // namespace serial
