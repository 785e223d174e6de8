#include "simulator/pty_client.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace simtest {

TempPortMap::TempPortMap()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "simulator-ports-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_dir = pattern;
    setenv("TARVEL4410_PORTS_DIR", m_dir.c_str(), 1);
}

TempPortMap::~TempPortMap()
{
    unsetenv("TARVEL4410_PORTS_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

PtyClient::PtyClient(const std::filesystem::path& device)
{
    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios raw{};
    if (m_fd >= 0 && tcgetattr(m_fd, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(m_fd, TCSANOW, &raw);
    }
}

PtyClient::~PtyClient()
{
    if (m_fd >= 0) ::close(m_fd);
}

void PtyClient::send(const Bytes& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) return;
        done += static_cast<std::size_t>(written);
    }
}

Bytes PtyClient::receive(std::size_t frames, std::chrono::milliseconds timeout)
{
    return receiveUntil([frames](const Bytes& bytes) { return CompleteFrames(bytes) >= frames; },
                        timeout);
}

Bytes PtyClient::receiveBytes(std::size_t count, std::chrono::milliseconds timeout)
{
    return receiveUntil([count](const Bytes& bytes) { return bytes.size() >= count; }, timeout);
}

Bytes PtyClient::receiveUntil(const std::function<bool(const Bytes&)>& done,
                              std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Bytes bytes;
    while (!done(bytes)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
        std::uint8_t chunk[256];
        const ssize_t count = ::read(m_fd, chunk, sizeof chunk);
        if (count > 0) bytes.insert(bytes.end(), chunk, chunk + count);
    }
    return bytes;
}

std::size_t CompleteFrames(const Bytes& bytes)
{
    std::size_t frames = 0;
    std::size_t i = 0;
    while (true) {
        while (i < bytes.size() && bytes[i] == 0xFF) ++i;
        if (i >= bytes.size()) return frames;
        const std::size_t addressLength = (bytes[i] & 0x80) ? 5 : 1;
        const std::size_t countAt = i + 1 + addressLength + 1;
        if (countAt >= bytes.size()) return frames;
        const std::size_t end = countAt + 1 + bytes[countAt] + 1;
        if (end > bytes.size()) return frames;
        ++frames;
        i = end;
    }
}

}  // namespace simtest
