#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace hart {

// Every file the programs write goes through here. A regular file, or a name not yet taken,
// is written beside its place and renamed over it, so that a reader never sees half a file;
// a symbolic link is followed and its target replaced. What is not a regular file (a device,
// a socket, a folder) is refused and left alone, and so is a file that may not be written.
// Errors are the reason alone, for "Failed to write "path": reason".

// Replaces the file whole with bytes, or leaves it as it was. Empty, or why not.
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

// A file written as it goes: a trace or a record. Besides a file it may be a pipe or a FIFO
// that somebody reads; one that nobody reads is refused at once rather than waited on.
class OutputStream {
public:
    // fd stays open and ours: standard output or standard error for "-".
    static std::unique_ptr<OutputStream> Standard(int fd);
    // nullptr, with error set, when it cannot be made.
    static std::unique_ptr<OutputStream> Open(const std::string& path, std::string& error);
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // A new file made beside its name takes the name, replacing a file there. Until then an
    // old file of the name stays as it was.
    bool TakeName(std::string& error);
    // All of text or none of it: a regular file is cut back to where it ended before.
    bool Write(std::string_view text, std::string& error);

private:
    OutputStream(int fd, bool owned, std::string beside, std::string target);

    int m_fd;
    bool m_owned;
    std::string m_beside;  // the new file's own name until it takes the target's
    std::string m_target;
};

// Whether two paths name the same file: the same device and inode when both exist, else
// the same path once made absolute and normalised.
bool SameFile(const std::string& first, const std::string& second);

}  // namespace hart
