#include "serial/uucp_lock.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "serial/exclusive_lock.h"
#include "serial/process_name.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

// Lock files are a few bytes; anything much larger is not one.
constexpr std::size_t kMaxLockFileBytes = 128;
// A takeover that keeps meeting a lock file replaced under it gives up as busy.
constexpr int kTakeAttempts = 3;

void (*g_beforeStaleLockRemoval)() = nullptr;

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

long Self() { return static_cast<long>(::getpid()); }

bool ProcessIsAlive(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

fs::path LockFilePath(const fs::path& device)
{
    return UucpLockDir() / ("LCK.." + device.filename().string());
}

std::string UserName(uid_t uid)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(uid);
}

// The lock file as found in its place: opened for reading when it is a regular file. Never
// follows a link and never waits for a FIFO's writer.
struct FoundLockFile {
    bool present = false;
    bool regular = false;
    uid_t owner = 0;
    UniqueFd fd;  // invalid when not a regular file, or when it cannot be opened
};

FoundLockFile FindLockFile(const fs::path& lockFile)
{
    FoundLockFile found;
    struct stat status {};
    if (::lstat(lockFile.c_str(), &status) != 0) {
        return found;
    }
    found.present = true;
    found.owner = status.st_uid;
    found.regular = S_ISREG(status.st_mode);
    if (found.regular) {
        found.fd.reset(::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        found.present = found.fd.valid() || errno != ENOENT;  // else removed since lstat
        // Replaced by something else since lstat.
        struct stat opened {};
        if (found.fd.valid() &&
            (::fstat(found.fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))) {
            found.fd.reset();
            found.regular = false;
        }
    }
    return found;
}

std::optional<long> ReadPid(int fd)
{
    char content[kMaxLockFileBytes + 1];
    const ssize_t length = ::pread(fd, content, sizeof content, 0);
    if (length < 0 || static_cast<std::size_t>(length) > kMaxLockFileBytes) {
        return std::nullopt;
    }
    return ParseUucpLockPid(std::string_view(content, static_cast<std::size_t>(length)));
}

PortUser Describe(const FoundLockFile& found, const fs::path& lockFile, std::optional<long> pid)
{
    PortUser user;
    if (!found.regular) {
        user.notAFile = lockFile;
        return user;
    }
    if (pid) {
        user.pid = *pid;
        user.program = ProcessName(*pid);
    }
    user.fileOwner = UserName(found.owner);
    return user;
}

bool IsSameFile(int fd, const fs::path& path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Removes the lock file in the way when it is stale. Who keeps it when it is not; nullopt
// when it is gone (removed here, or meanwhile by somebody else), so that the caller tries
// again. Another of our programs holds the flock on its lock file for as long as it keeps
// it, and on a stale one while it removes it: so only the file that was found stale, still
// in its place, is ever removed.
std::optional<PortUser> RemoveIfStale(const fs::path& lockFile)
{
    const FoundLockFile found = FindLockFile(lockFile);
    if (!found.present) {
        return std::nullopt;
    }
    if (!found.fd.valid()) {
        return Describe(found, lockFile, std::nullopt);  // not a file, or not readable here
    }
    const std::optional<long> pid = ReadPid(found.fd.get());
    if (!TryLockExclusive(found.fd.get())) {
        // Kept, or being taken over, by another of our programs.
        return Describe(found, lockFile, pid && ProcessIsAlive(*pid) ? pid : std::nullopt);
    }
    // Read again under the lock: the file in the place may be a new one by now.
    if (!IsSameFile(found.fd.get(), lockFile)) {
        return std::nullopt;
    }
    const std::optional<long> pidNow = ReadPid(found.fd.get());
    if (pidNow && *pidNow != Self() && ProcessIsAlive(*pidNow)) {
        return Describe(found, lockFile, pidNow);
    }
    if (g_beforeStaleLockRemoval != nullptr) {
        g_beforeStaleLockRemoval();
    }
    ::unlink(lockFile.c_str());
    return std::nullopt;
}

bool WritePid(int fd)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10ld\n", Self());
    return ::write(fd, text, static_cast<std::size_t>(length)) == length;
}

}  // namespace

fs::path UucpLockDir()
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

std::optional<PortUser> UucpLockUser(const fs::path& device)
{
    const fs::path lockFile = LockFilePath(device);
    const FoundLockFile found = FindLockFile(lockFile);
    if (!found.present || (found.regular && !found.fd.valid())) {
        return std::nullopt;
    }
    const std::optional<long> pid =
        found.fd.valid() ? ReadPid(found.fd.get()) : std::optional<long>();
    if (found.regular && (!pid || *pid == Self() || !ProcessIsAlive(*pid))) {
        return std::nullopt;
    }
    return Describe(found, lockFile, pid);
}

UucpLock::Outcome UucpLock::take(const fs::path& device)
{
    const fs::path lockFile = LockFilePath(device);
    fs::path privateFile = lockFile;
    privateFile += "." + std::to_string(Self());
    const auto notWritten = [&](int error) {
        ::unlink(privateFile.c_str());
        return NotWritten{lockFile, error};
    };
    // The text is written under a private name first and linked into place, already
    // flocked, so nobody ever reads a half-written lock or finds it unlocked.
    ::unlink(privateFile.c_str());
    UniqueFd fd(
        ::open(privateFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        return NotWritten{lockFile, errno};
    }
    if (!TryLockExclusive(fd.get()) || !WritePid(fd.get())) {
        return notWritten(errno != 0 ? errno : EIO);
    }
    for (int attempt = 0; attempt < kTakeAttempts; ++attempt) {
        if (::link(privateFile.c_str(), lockFile.c_str()) == 0) {
            ::unlink(privateFile.c_str());
            return UucpLock(lockFile, std::move(fd));
        }
        if (errno != EEXIST) {
            return notWritten(errno);
        }
        if (auto user = RemoveIfStale(lockFile)) {
            ::unlink(privateFile.c_str());
            return *user;
        }
    }
    ::unlink(privateFile.c_str());
    return PortUser{};
}

void UucpLock::release()
{
    if (!m_fd.valid()) {
        return;
    }
    // Only while it is still ours: removed under our flock, no other program of ours can
    // have put a new one there.
    if (IsSameFile(m_fd.get(), m_lockFile)) {
        ::unlink(m_lockFile.c_str());
    }
    // A child forked meanwhile may share the open file, and with it the flock.
    ::flock(m_fd.get(), LOCK_UN);
    m_fd.reset();
}

void SetBeforeStaleLockRemoval(void (*hook)()) { g_beforeStaleLockRemoval = hook; }

}  // namespace serial
