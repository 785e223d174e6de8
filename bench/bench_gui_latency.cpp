// bench_gui_latency: how late the desktop program's GUI thread gets during device commands.
// The main window runs offscreen against the built-in simulated transmitter, its answers
// paced as a 1200-baud line; a 10 ms timer on the GUI thread records how late each tick
// comes while a full read, a basic send and a check against a silent transmitter run from
// the menu. Prints the median, the 99th percentile and the worst lateness of each, then a
// summary against the target (p99 at most 16 ms, the worst at most 50 ms); exit status 1
// when it is missed.
//
// On the xcb platform (under Xvfb: QT_QPA_PLATFORM=xcb xvfb-run bench_gui_latency) it also
// sends the main window _NET_WM_PING every 50 ms during each command, as a desktop's window
// manager does, and prints how long the answers took (target: every one within 50 ms).
//
// usage: bench_gui_latency
//
// Questions are answered at once (OK, Yes) and notices taken as read, so the figures are the
// commands' own, not a person's.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include "app/main_menu.h"
#include "app/vesk_pc_main_win.h"
#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "hart/user_interaction.h"
#include "net_wm_ping_probe.h"
#include "private_folder.h"
#include "simulator/simulator_host.h"

namespace {

using Millis = std::chrono::duration<double, std::milli>;

constexpr std::chrono::milliseconds kTick{10};
constexpr std::chrono::milliseconds kTargetP99{16};
constexpr std::chrono::milliseconds kTargetWorst{50};
constexpr std::chrono::milliseconds kTargetPing{50};
constexpr int kOkCancelStyle = 1;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;

class AnsweringUser final : public hart::UserInteraction {
public:
    void notify(int, const std::string&, hart::MessageIcon) override {}
    int ask(int, const std::string&, int style) override
    {
        return (style & 0xF) == kOkCancelStyle ? kAnswerOk : kAnswerYes;
    }
};

struct Lateness {
    double p50 = 0;
    double p99 = 0;
    double worst = 0;
    double commandMs = 0;
    std::size_t ticks = 0;
    std::optional<PingTimes> pings;
};

// The window's answers to the probe's pings, when there is a probe.
struct PingProbe {
    NetWmPingProbe* probe = nullptr;
    std::uint32_t window = 0;
};

double At(const std::vector<double>& sorted, double share)
{
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(share * sorted.size()))];
}

// Runs the menu command with the tick timer going; the lateness of every tick meanwhile.
Lateness MeasureDuring(QAction& command, const PingProbe& ping)
{
    std::vector<double> late;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    qint64 last = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        late.push_back(std::max(0.0, Millis(std::chrono::nanoseconds(now - last)).count() -
                                         Millis(kTick).count()));
        last = now;
    });
    if (ping.probe != nullptr) ping.probe->start(ping.window);
    clock.start();
    ticker.start(kTick);
    last = clock.nsecsElapsed();
    command.trigger();  // returns when the command has ended
    const double commandMs = Millis(std::chrono::nanoseconds(clock.nsecsElapsed())).count();
    ticker.stop();

    Lateness result;
    if (ping.probe != nullptr) result.pings = ping.probe->stop();
    result.commandMs = commandMs;
    result.ticks = late.size();
    if (late.empty()) {
        // Not one tick came during the command: it held the GUI thread all along.
        result.p50 = result.p99 = result.worst = commandMs;
        return result;
    }
    std::sort(late.begin(), late.end());
    result.p50 = At(late, 0.50);
    result.p99 = At(late, 0.99);
    result.worst = late.back();
    return result;
}

// The slowest answer, counting a ping still unanswered at the end as at least its age.
double SlowestPing(const PingTimes& pings)
{
    const double answered = pings.answeredMs.empty() ? 0 : pings.answeredMs.back();
    return std::max(answered, pings.oldestUnansweredMs);
}

void Print(const char* name, const Lateness& l)
{
    std::printf("%-34s %8.0f ms %6zu ticks   p50 %6.2f ms   p99 %6.2f ms   worst %7.2f ms\n", name,
                l.commandMs, l.ticks, l.p50, l.p99, l.worst);
    if (!l.pings) return;
    const PingTimes& p = *l.pings;
    if (p.answeredMs.empty()) {
        std::printf("%-34s no ping answered, %zu unanswered\n", "  _NET_WM_PING", p.unanswered);
        return;
    }
    std::printf("%-34s %6zu answered   p50 %6.2f ms   p99 %6.2f ms   worst %7.2f ms   "
                "%zu unanswered\n",
                "  _NET_WM_PING", p.answeredMs.size(), At(p.answeredMs, 0.50),
                At(p.answeredMs, 0.99), SlowestPing(p), p.unanswered);
}

}  // namespace

int main(int argc, char** argv)
{
    const PrivateFolder home;
    if (!UsePrivateHome(home)) {
        std::fprintf(stderr, "bench_gui_latency: no private folder\n");
        return 1;
    }
    QApplication app(argc, argv);

    sim::SimulatorSetup setup;
    setup.process.noise = 0;
    sim::HostOptions options;
    options.wireTiming = true;
    sim::SimulatorHost host(setup, options);
    const auto endpoint = host.start();
    if (!endpoint) {
        std::fprintf(stderr, "bench_gui_latency: %s\n", host.error().c_str());
        return 1;
    }

    AnsweringUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports(endpoint->comNumber);
    document::CVeskDoc doc(user, ports, sleeper);
    doc.OnNewDocument();
    CVeskPcMainWin window(doc);
    window.show();
    QApplication::processEvents();

    std::optional<NetWmPingProbe> probe;
    PingProbe ping;
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        probe.emplace();
        if (!probe->error().empty()) {
            std::fprintf(stderr, "bench_gui_latency: %s\n", probe->error().c_str());
            return 1;
        }
        ping = {&*probe, static_cast<std::uint32_t>(window.winId())};
    }

    std::printf("GUI thread lateness against a %d ms timer, 1200-baud simulated line\n",
                static_cast<int>(kTick.count()));
    const Lateness read = MeasureDuring(*window.action(kCmdReadFromDevice), ping);
    Print("read from the device", read);
    const Lateness send = MeasureDuring(*window.action(kCmdSendBasic), ping);
    Print("send the Basic page", send);
    host.withDevice(
        [](sim::Device& device) { device.faults().silent = sim::FaultCount::always(); });
    const Lateness check = MeasureDuring(*window.action(kCmdCheckConnection), ping);
    Print("check against a silent transmitter", check);

    const double p99 = std::max({read.p99, send.p99, check.p99});
    const double worst = std::max({read.worst, send.worst, check.worst});
    bool met = p99 <= Millis(kTargetP99).count() && worst <= Millis(kTargetWorst).count();
    std::printf("summary: p99 at most %.2f ms, worst %.2f ms (target %d and %d ms): %s\n", p99,
                worst, static_cast<int>(kTargetP99.count()), static_cast<int>(kTargetWorst.count()),
                met ? "met" : "NOT met");
    if (probe) {
        double slowest = 0;
        for (const Lateness* l : {&read, &send, &check})
            slowest = std::max(slowest, SlowestPing(*l->pings));
        const bool answered = slowest <= Millis(kTargetPing).count();
        std::printf("summary: every _NET_WM_PING answered within %.2f ms (target %d ms): %s\n",
                    slowest, static_cast<int>(kTargetPing.count()), answered ? "met" : "NOT met");
        met = met && answered;
    }
    return met ? 0 : 1;
}
