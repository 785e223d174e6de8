#include "app/demo_transmitter.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "simulator/simulator_host.h"

namespace {

constexpr std::array kStopSignals{SIGTERM, SIGINT, SIGHUP};

// How long a stop may take before the program ends without its clean-up.
constexpr unsigned kStopGraceSeconds = 3;

// A signal handler may do next to nothing: it writes one byte, and the event loop, which
// watches the other end, does the stopping. Where no event loop runs (a wait that does not
// serve events), the program must end all the same: a second signal ends it at once, the
// alarm after the grace time; the link left behind is reclaimed by the next start.
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

DemoTransmitter::DemoTransmitter() : m_host(std::make_unique<sim::SimulatorHost>()) {}

DemoTransmitter::~DemoTransmitter()
{
    ReleaseStopSignals();
    // The host's destructor removes the link.
}

std::optional<int> DemoTransmitter::Start()
{
    // Caught before the link exists, so no signal can come between the two.
    CatchStopSignals();
    const auto endpoint = m_host->start();
    if (!endpoint) return std::nullopt;
    return endpoint->comNumber;
}

const std::string& DemoTransmitter::error() const { return m_host->error(); }

void DemoTransmitter::CatchStopSignals()
{
    if (m_stopNotifier || ::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_stopNotifier = std::make_unique<QSocketNotifier>(g_stopPipe[0], QSocketNotifier::Read);
    QObject::connect(m_stopNotifier.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(g_stopPipe[0], bytes, sizeof bytes) > 0) {}
        m_stopRequested = true;
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

void DemoTransmitter::ReleaseStopSignals()
{
    if (!m_stopNotifier) return;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &g_previous[i], nullptr);
    ::alarm(0);
    g_stopping = 0;
    m_stopNotifier.reset();
    ::close(g_stopPipe[0]);
    ::close(g_stopPipe[1]);
    g_stopPipe[0] = g_stopPipe[1] = -1;
}
