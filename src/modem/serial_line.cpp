#include "modem/serial_line.h"

#include <cerrno>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "modem/line_settings.h"

namespace modem {

namespace {

// Kernel-internal "no such ioctl" that some drivers let through.
constexpr int kNoIoctlCommand = 515;
// One read() call's share; a call reads until nothing is left, up to this many chunks.
constexpr std::size_t kReadChunkBytes = 256;
constexpr int kMaxReadChunks = 64;

// Pseudo-terminals, USB CDC and other devices without RS-232 control lines refuse
// modem-line ioctls with one of these; there is then no carrier to key.
bool MeansNoModemLines(int error)
{
    return error == EINVAL || error == ENOTTY || error == kNoIoctlCommand || error == EIO;
}

}  // namespace

std::unique_ptr<SerialLine> SerialLine::open(const std::filesystem::path& device,
                                             serial::DeviceOpenFailure& failure)
{
    serial::LockedDevice locked = serial::OpenLockedDevice(device);
    failure = locked.failure;
    if (failure != serial::DeviceOpenFailure::None) {
        return nullptr;
    }
    std::unique_ptr<SerialLine> line(new SerialLine(std::move(locked.fd)));
    // Linux raises RTS and DTR on open; a keyed RS-232 modem would then hold the carrier
    // and never hear the answer.
    if (!line->applyHartSettings() || line->setRts(false) != Status::Ok) {
        failure = serial::DeviceOpenFailure::Failed;
        return nullptr;
    }
    line->discardInput();
    return line;
}

// Unlocked explicitly: a child forked meanwhile may still share the open file, and with
// it the lock, after this descriptor is closed.
SerialLine::~SerialLine() { ::flock(m_fd.get(), LOCK_UN); }

bool SerialLine::applyHartSettings()
{
    termios current{};
    if (::tcgetattr(m_fd.get(), &current) != 0) {
        return false;  // not a terminal at all
    }
    const termios wanted = HartLineSettings(current);
    if (::tcsetattr(m_fd.get(), TCSANOW, &wanted) == 0) {
        return true;
    }
    termios actual{};
    return errno == EINVAL && ::tcgetattr(m_fd.get(), &actual) == 0 &&
           HoldsHartLineSettings(actual, wanted);
}

void SerialLine::discardInput() { ::tcflush(m_fd.get(), TCIFLUSH); }

SerialLine::Status SerialLine::setRts(bool on)
{
    if (!m_hasModemLines) {
        return Status::Ok;
    }
    const int rts = TIOCM_RTS;
    if (::ioctl(m_fd.get(), on ? TIOCMBIS : TIOCMBIC, &rts) == 0) {
        return Status::Ok;
    }
    if (MeansNoModemLines(errno)) {
        m_hasModemLines = false;
        return Status::Ok;
    }
    return Status::Failed;
}

SerialLine::Status SerialLine::write(std::span<const std::uint8_t> bytes)
{
    if (setRts(true) != Status::Ok) {
        return Status::Failed;
    }
    Status status = writeAll(bytes);
    if (status == Status::Ok) {
        int drained = -1;
        do {
            drained = ::tcdrain(m_fd.get());
        } while (drained != 0 && errno == EINTR);
        status = drained == 0 ? Status::Ok : Status::Failed;
    }
    // Released also after a failure, so the modem does not keep the loop's carrier.
    const Status released = setRts(false);
    return status == Status::Ok ? released : status;
}

SerialLine::Status SerialLine::writeAll(std::span<const std::uint8_t> bytes)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kWriteTimeout;
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd.get(), bytes.data(), bytes.size());
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno != EAGAIN) {
            return Status::Failed;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return Status::Failed;
        }
        pollfd watch{m_fd.get(), POLLOUT, 0};
        if (::poll(&watch, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return Status::Failed;
        }
        if ((watch.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return Status::Failed;
        }
    }
    return Status::Ok;
}

SerialLine::Status SerialLine::readAvailable(std::vector<std::uint8_t>& into)
{
    std::uint8_t chunk[kReadChunkBytes];
    for (int chunks = 0; chunks < kMaxReadChunks; ++chunks) {
        const ssize_t got = ::read(m_fd.get(), chunk, sizeof chunk);
        if (got > 0) {
            into.insert(into.end(), chunk, chunk + got);
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && errno == EAGAIN) {
            return Status::Ok;
        }
        return Status::Failed;  // 0: hung up; EIO, ENXIO, ENODEV: unplugged or other side gone
    }
    return Status::Ok;
}

}  // namespace modem
