#include "modem/modem_line.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

HartMessage MessageOf(const std::vector<std::uint8_t>& bytes)
{
    HartMessage message{};
    if (bytes.size() > sizeof message.frame) {
        throw std::length_error("frame too long for a HartMessage");
    }
    std::copy(bytes.begin(), bytes.end(), message.frame);
    message.length = static_cast<std::uint16_t>(bytes.size());
    return message;
}

std::vector<std::uint8_t> FrameOf(const HartMessage& message)
{
    const std::size_t length = std::min<std::size_t>(message.length, sizeof message.frame);
    return std::vector<std::uint8_t>(message.frame, message.frame + length);
}

std::int32_t ReadFrame(std::uint16_t handle, HartMessage& message,
                       std::chrono::milliseconds deadline)
{
    const auto end = Clock::now() + deadline;
    for (;;) {
        const std::int32_t result = hart_read(handle, &message);
        const bool waiting = result == HART_NO_FRAME || result == HART_RECEIVING;
        if (!waiting || Clock::now() >= end) {
            return result;
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(2));  // the program's poll pause, shortened
    }
}

LineObserver::LineObserver(const std::filesystem::path& slave)
    : m_fd(::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (m_fd < 0) {
        throw std::runtime_error("cannot open " + slave.string());
    }
}

LineObserver::~LineObserver() { ::close(m_fd); }

int LineObserver::pending() const
{
    int count = -1;
    return ::ioctl(m_fd, FIONREAD, &count) == 0 ? count : -1;
}

bool LineObserver::waitForPending(int count, std::chrono::milliseconds deadline) const
{
    const auto end = Clock::now() + deadline;
    while (pending() != count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        // Wakes when input arrives; the count is then checked again.
        pollfd watch{m_fd, POLLIN, 0};
        ::poll(&watch, 1, static_cast<int>(std::min<long>(left.count(), 5)));
    }
    return true;
}
