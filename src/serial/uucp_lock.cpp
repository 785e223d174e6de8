#include "uucp_lock.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <string>

namespace serial {

namespace {

// Lock files are a few bytes; anything much larger is not one.
constexpr std::size_t kMaxLockFileBytes = 128;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

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

bool ProcessIsAlive(long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
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
    const std::filesystem::path lockFile = UucpLockDir() / ("LCK.." + device.filename().string());
    std::ifstream in(lockFile, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string content(kMaxLockFileBytes + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > kMaxLockFileBytes) {
        return false;
    }
    const auto pid = ParseUucpLockPid(content);
    return pid && ProcessIsAlive(*pid);
}

}  // namespace serial
