#include "hart/output_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace hart {
namespace {

// As the kernel counts symbolic links before it gives up with ELOOP.
constexpr int kMaxLinks = 40;
constexpr int kBesideAttempts = 100;

std::string Reason(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name a path leads to through its symbolic links; the last link may lead to a name
// not yet taken, which is then the file to make.
std::optional<std::string> FollowLinks(std::string path, std::string& error)
{
    for (int link = 0; link < kMaxLinks; ++link) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0) {
            error = Reason(errno);
            return std::nullopt;
        }
        const std::string next(target, static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    error = Reason(ELOOP);
    return std::nullopt;
}

std::string NotAFile(mode_t mode)
{
    if (S_ISDIR(mode)) return "it is a folder, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    if (S_ISSOCK(mode)) return "it is a socket, not a file";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a file";
    return "it is not a regular file";
}

// Root may write any file, so a file with no write permission for anybody counts as read-only
// for root too.
bool ReadOnly(const std::string& path, const struct stat& status)
{
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(path.c_str(), W_OK) != 0;
}

// Why the regular file (or free name) target may not be replaced, or nothing. exists tells
// which of the two it is.
std::optional<std::string> Refusal(const std::string& target, struct stat& status, bool& exists)
{
    exists = ::stat(target.c_str(), &status) == 0;
    if (!exists) return errno == ENOENT ? std::nullopt : std::optional(Reason(errno));
    if (!S_ISREG(status.st_mode)) return NotAFile(status.st_mode);
    if (ReadOnly(target, status)) return std::string("the file is read-only");
    return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (count == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

struct Beside {
    int fd;
    std::string name;
};

// A new file in the target's folder, so that renaming it over the target is one step. It
// gets the old file's rights and owner, or those of a new file under the user's umask, never
// writable by everybody.
std::optional<Beside> MakeBeside(const std::string& target, const struct stat* old,
                                 std::string& error)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kBesideAttempts; ++attempt) {
        const std::string name = FolderOf(target) + "/." + NameOf(target) + "." +
                                 std::to_string(::getpid()) + "." + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = Reason(errno);
            return std::nullopt;
        }
        struct stat made {};
        if (old != nullptr) {
            ::fchmod(fd, old->st_mode & 07777);
            // Only root may give a file away; anybody else keeps it as their own.
            if (::fchown(fd, old->st_uid, old->st_gid) != 0) ::fchmod(fd, old->st_mode & 0777);
        } else if (::fstat(fd, &made) == 0 && (made.st_mode & S_IWOTH) != 0) {
            ::fchmod(fd, made.st_mode & 0777 & ~S_IWOTH);
        }
        return Beside{fd, name};
    }
    error = Reason(EEXIST);
    return std::nullopt;
}

}  // namespace

std::string WriteWholeFile(const std::string& path, std::string_view bytes)
{
    std::string error;
    const auto target = FollowLinks(path, error);
    if (!target) return error;
    struct stat status {};
    bool exists = false;
    if (auto refusal = Refusal(*target, status, exists)) return *refusal;
    const auto beside = MakeBeside(*target, exists ? &status : nullptr, error);
    if (!beside) return error;
    bool written = WriteAll(beside->fd, bytes) && ::fsync(beside->fd) == 0;
    int why = errno;
    if (::close(beside->fd) != 0 && written) {
        written = false;
        why = errno;
    }
    if (written && ::rename(beside->name.c_str(), target->c_str()) == 0) return {};
    if (written) why = errno;
    ::unlink(beside->name.c_str());
    return Reason(why);
}

std::unique_ptr<OutputStream> OutputStream::Standard(int fd)
{
    return std::unique_ptr<OutputStream>(new OutputStream(fd, false, {}, {}));
}

std::unique_ptr<OutputStream> OutputStream::Open(const std::string& path, std::string& error)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode)) {
        // Without a reader a plain open would wait for one forever.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = errno == ENXIO ? "nobody reads from the FIFO" : Reason(errno);
            return nullptr;
        }
        // Then a slow reader slows the writer down rather than losing lines.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return std::unique_ptr<OutputStream>(new OutputStream(fd, true, {}, path));
    }
    const auto target = FollowLinks(path, error);
    if (!target) return nullptr;
    bool exists = false;
    if (auto refusal = Refusal(*target, status, exists)) {
        error = *refusal;
        return nullptr;
    }
    const auto beside = MakeBeside(*target, exists ? &status : nullptr, error);
    if (!beside) return nullptr;
    return std::unique_ptr<OutputStream>(new OutputStream(beside->fd, true, beside->name, *target));
}

OutputStream::OutputStream(int fd, bool owned, std::string beside, std::string target)
    : m_fd(fd), m_owned(owned), m_beside(std::move(beside)), m_target(std::move(target))
{
}

OutputStream::~OutputStream()
{
    if (!m_beside.empty()) ::unlink(m_beside.c_str());
    if (m_owned) ::close(m_fd);
}

bool OutputStream::TakeName(std::string& error)
{
    if (m_beside.empty()) return true;
    // The descriptor goes on writing into the renamed file.
    if (::rename(m_beside.c_str(), m_target.c_str()) != 0) {
        error = Reason(errno);
        return false;
    }
    m_beside.clear();
    return true;
}

bool OutputStream::Write(std::string_view text, std::string& error)
{
    const off_t end = m_owned ? ::lseek(m_fd, 0, SEEK_CUR) : -1;  // -1 for a pipe
    if (WriteAll(m_fd, text)) return true;
    error = Reason(errno);
    if (end >= 0 && ::ftruncate(m_fd, end) == 0) ::lseek(m_fd, end, SEEK_SET);
    return false;
}

bool SameFile(const std::string& first, const std::string& second)
{
    struct stat one {};
    struct stat other {};
    if (::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &other) == 0)
        return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    std::error_code ignored;
    const auto normal = [&](const std::string& path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored)
            .lexically_normal();
    };
    return normal(first) == normal(second);
}

}  // namespace hart
