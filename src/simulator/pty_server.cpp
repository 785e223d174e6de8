#include "simulator/pty_server.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "simulator/request_parser.h"

namespace sim {

namespace {

std::string SystemError(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

timespec ToTimespec(std::chrono::nanoseconds duration)
{
    if (duration.count() < 0) duration = std::chrono::nanoseconds(0);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>((duration - seconds).count())};
}

}  // namespace

PtyServer::PtyServer(Responder responder, std::optional<WireTiming> pacing, LineEffects line)
    : m_responder(std::move(responder)), m_pacing(pacing), m_line(line)
{
}

PtyServer::~PtyServer() { stop(); }

bool PtyServer::running() const { return m_running; }

const std::filesystem::path& PtyServer::devicePath() const { return m_devicePath; }

const std::string& PtyServer::error() const { return m_error; }

bool PtyServer::start()
{
    if (m_running) return true;
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        m_error = SystemError("posix_openpt");
        return false;
    }
    std::array<char, 128> name{};
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name.data(), name.size()) != 0) {
        m_error = SystemError("pseudo-terminal set-up");
        closeAll();
        return false;
    }
    m_devicePath = name.data();
    m_slave = ::open(name.data(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0) {
        m_error = SystemError("opening the pseudo-terminal");
        closeAll();
        return false;
    }
    cfmakeraw(&raw);
    int pipeEnds[2];
    if (tcsetattr(m_slave, TCSANOW, &raw) != 0 || fcntl(m_master, F_SETFL, O_NONBLOCK) != 0 ||
        pipe2(pipeEnds, O_CLOEXEC) != 0) {
        m_error = SystemError("pseudo-terminal set-up");
        closeAll();
        return false;
    }
    m_stopRead = pipeEnds[0];
    m_stopWrite = pipeEnds[1];
    m_running = true;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void PtyServer::stop()
{
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const auto written = ::write(m_stopWrite, &wake, 1);
        m_thread.join();
    }
    m_running = false;
    closeAll();
}

void PtyServer::closeAll()
{
    for (int* fd : {&m_master, &m_slave, &m_stopRead, &m_stopWrite}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void PtyServer::serve()
{
    RequestParser parser;
    Clock::time_point frameStart;
    Clock::time_point lastByte;
    std::array<std::uint8_t, 256> buffer{};
    while (true) {
        std::array<pollfd, 2> fds{pollfd{m_master, POLLIN, 0}, pollfd{m_stopRead, POLLIN, 0}};
        int timeoutMs = -1;
        if (parser.inFrame()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                lastByte + kInterCharacterGap - Clock::now());
            timeoutMs = static_cast<int>(left.count() > 0 ? left.count() : 0);
        }
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno != EINTR) break;
        if (fds[1].revents != 0) break;
        if (ready == 0 && parser.inFrame() && Clock::now() - lastByte >= kInterCharacterGap) {
            parser.reset();
            continue;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
                break;  // cannot happen while the slave side is held open; do not spin on it
            continue;
        }
        const ssize_t count = ::read(m_master, buffer.data(), buffer.size());
        if (count <= 0) continue;
        lastByte = Clock::now();
        if (m_line.echo) writeAll({buffer.begin(), buffer.begin() + count});
        for (ssize_t i = 0; i < count; ++i) {
            if (!parser.inFrame()) frameStart = lastByte;
            if (auto request = parser.push(buffer[static_cast<std::size_t>(i)]))
                answer(*request, frameStart);
        }
    }
    m_running = false;
}

void PtyServer::answer(const Request& request, Clock::time_point frameStart)
{
    std::vector<std::uint8_t> bytes = m_responder(request);
    if (bytes.empty()) return;
    if (m_line.garbageBytes > 0) {
        std::uniform_int_distribution<int> noise(0x00, 0xFE);
        std::vector<std::uint8_t> withNoise;
        for (std::size_t i = 0; i < m_line.garbageBytes; ++i)
            withNoise.push_back(static_cast<std::uint8_t>(noise(m_noise)));
        withNoise.insert(withNoise.end(), bytes.begin(), bytes.end());
        bytes = std::move(withNoise);
    }
    if (!m_pacing) {
        writeAll(bytes);
        return;
    }
    // On a pseudo-terminal the request arrives at once; on the line its last byte would come
    // only after all of them had been carried.
    const auto answerStart =
        frameStart + std::chrono::duration_cast<Clock::duration>(
                         WireTiming::lineTime(request.lineBytes) + m_pacing->turnaround());
    writePaced(bytes, answerStart);
}

bool PtyServer::waitUntil(Clock::time_point deadline)
{
    while (true) {
        pollfd stopFd{m_stopRead, POLLIN, 0};
        const timespec timeout = ToTimespec(deadline - Clock::now());
        const int ready = ::ppoll(&stopFd, 1, &timeout, nullptr);
        if (ready > 0) return false;
        if (ready == 0 || errno != EINTR) return ready == 0;
    }
}

bool PtyServer::waitWritable()
{
    std::array<pollfd, 2> fds{pollfd{m_master, POLLOUT, 0}, pollfd{m_stopRead, POLLIN, 0}};
    int ready = 0;
    while ((ready = ::poll(fds.data(), fds.size(), static_cast<int>(kWriteStall.count()))) < 0) {
        if (errno != EINTR) return false;
    }
    if (fds[1].revents != 0) return false;
    // Nobody reads the answers piling up on the slave side: like bytes on a line nobody
    // listens to, they are gone, and the device keeps serving.
    if (ready == 0) tcflush(m_slave, TCIFLUSH);
    return true;
}

bool PtyServer::writeAll(const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!waitWritable()) {
            return false;
        }
    }
    return true;
}

bool PtyServer::writePaced(const std::vector<std::uint8_t>& bytes, Clock::time_point answerStart)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // The master has a byte once all of its bits are on the line.
        const auto due =
            answerStart + std::chrono::duration_cast<Clock::duration>(WireTiming::lineTime(i + 1));
        if (!waitUntil(due) || !writeAll({bytes[i]})) return false;
    }
    return true;
}

}  // namespace sim
