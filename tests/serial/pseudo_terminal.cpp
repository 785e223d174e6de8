#include "serial/pseudo_terminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PseudoTerminal::PseudoTerminal()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        ThrowErrno("posix_openpt");
    }
    const char* name = nullptr;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        (name = ::ptsname(m_master)) == nullptr) {
        const int error = errno;
        ::close(m_master);
        throw std::system_error(error, std::generic_category(), "pseudo-terminal setup");
    }
    m_slavePath = name;
}

PseudoTerminal::~PseudoTerminal() { closeMaster(); }

void PseudoTerminal::writeToSlave(const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            ThrowErrno("write to pseudo-terminal");
        }
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}

std::vector<std::uint8_t> PseudoTerminal::readFromSlave(std::size_t count,
                                                        std::chrono::milliseconds deadline)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + deadline;
    std::vector<std::uint8_t> received;
    while (received.size() < count && Clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd watch{m_master, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()) + 1);
        if (ready <= 0) {
            continue;
        }
        if ((watch.revents & POLLIN) == 0) {
            break;  // the slave side is gone
        }
        std::uint8_t chunk[256];
        const ssize_t got =
            ::read(m_master, chunk, std::min(sizeof chunk, count - received.size()));
        if (got > 0) {
            received.insert(received.end(), chunk, chunk + got);
        }
    }
    return received;
}

void PseudoTerminal::closeMaster()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
