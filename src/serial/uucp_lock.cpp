#include "serial/uucp_lock.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <string>
#include <unistd.h>

#include "serial/unique_fd.h"

namespace serial {

namespace {

// Lock files are a few bytes; anything much larger is not one.
constexpr std::size_t kMaxLockFileBytes = 128;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::optional<long> ParseAsciiPid(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    long pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

bool ProcessIsAlive(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

std::filesystem::path LockFilePath(const std::filesystem::path& device)
{
    return UucpLockDir() / ("LCK.." + device.filename().string());
}

std::optional<long> LockFilePid(const std::filesystem::path& lockFile)
{
    std::ifstream in(lockFile, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content(kMaxLockFileBytes + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > kMaxLockFileBytes) {
        return std::nullopt;
    }
    return ParseUucpLockPid(content);
}

// The lock file's text is written under a private name first and linked into place, so
// nobody ever reads a half-written lock.
bool WritePrivateLockFile(const std::filesystem::path& path)
{
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        return false;
    }
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
    return ::write(fd.get(), text, static_cast<std::size_t>(length)) == length;
}

}  // namespace

std::filesystem::path UucpLockDir()
{
    const char* overridden = std::getenv("TARVEL4410_LOCK_DIR");
    if (overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
    return "/var/lock";
}

std::optional<long> ParseUucpLockPid(std::string_view content)
{
    if (auto pid = ParseAsciiPid(content)) {
        return pid;
    }
    // Pids stay below 2^22, so a binary one always has a zero byte; the text form never.
    if (content.size() == sizeof(int) && content.find('\0') != std::string_view::npos) {
        int binaryPid = 0;
        std::memcpy(&binaryPid, content.data(), sizeof binaryPid);
        if (binaryPid > 0) {
            return binaryPid;
        }
    }
    return std::nullopt;
}

bool HasLiveUucpLock(const std::filesystem::path& device)
{
    const auto pid = LockFilePid(LockFilePath(device));
    return pid && *pid != static_cast<long>(::getpid()) && ProcessIsAlive(*pid);
}

bool CreateUucpLock(const std::filesystem::path& device)
{
    const std::filesystem::path lockFile = LockFilePath(device);
    std::filesystem::path privateFile = lockFile;
    privateFile += "." + std::to_string(::getpid());
    ::unlink(privateFile.c_str());
    if (!WritePrivateLockFile(privateFile)) {
        ::unlink(privateFile.c_str());
        return false;
    }
    bool created = false;
    // Two tries: the second after removing a stale lock (or an old one of this process).
    for (int attempt = 0; attempt < 2 && !created; ++attempt) {
        if (::link(privateFile.c_str(), lockFile.c_str()) == 0) {
            created = true;
        } else if (errno != EEXIST || HasLiveUucpLock(device)) {
            break;
        } else {
            ::unlink(lockFile.c_str());
        }
    }
    ::unlink(privateFile.c_str());
    return created;
}

void RemoveUucpLock(const std::filesystem::path& device)
{
    const std::filesystem::path lockFile = LockFilePath(device);
    if (LockFilePid(lockFile) == static_cast<long>(::getpid())) {
        ::unlink(lockFile.c_str());
    }
}

}  // namespace serial
