#include "app/stop_signals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace {

constexpr std::array kStopSignals{SIGTERM, SIGINT, SIGHUP};
// How long a stop may take before the program ends without its clean-up.
constexpr unsigned kStopGraceSeconds = 3;

// A signal handler may do next to nothing: it writes one byte, and the event loop, which
// watches the other end, does the stopping. A link left behind by a stop that ran out of
// time is reclaimed by the next start.
int g_stopPipe[2] = {-1, -1};
struct sigaction g_previous[kStopSignals.size()];
volatile sig_atomic_t g_stopping = 0;

extern "C" void OnStopSignal(int signal)
{
    if (g_stopping) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
    g_stopping = 1;
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_stopPipe[1], &byte, 1);
    ::alarm(kStopGraceSeconds);
    errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals()
{
    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_stopPipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(g_stopPipe[0], bytes, sizeof bytes) > 0) {}
        m_requested = true;
        // Ends every running loop, a modal dialog's too; no question is asked on the way.
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &action, &g_previous[i]);
}

StopSignals::~StopSignals()
{
    if (!m_notifier) return;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &g_previous[i], nullptr);
    ::alarm(0);
    g_stopping = 0;
    m_notifier.reset();
    ::close(g_stopPipe[0]);
    ::close(g_stopPipe[1]);
    g_stopPipe[0] = g_stopPipe[1] = -1;
}
