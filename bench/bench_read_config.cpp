// bench_read_config: reads the whole configuration (identification and the six read
// groups) from the simulated transmitter paced as a 1200-baud line, through the real driver
// library, and compares the time taken with what the line itself needs.
//
// The engine waits 40 ms before each read of an answer, so every transaction costs the line
// time plus up to one poll period; the target is elapsed ≤ 1.10 × (bound + 40 ms × transactions).
//
// The read runs twice: untraced, then with the frame trace written to a file. The line's own
// jitter between two runs is larger than the trace's cost, so the cost is also measured
// directly: the time spent recording and writing the trace, against the untraced read; the
// target is at most 1 %.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdlib.h>
#include <string>

#include "hart/trace_file.h"
#include "private_folder.h"
#include "read_configuration.h"
#include "simulator/simulator_host.h"
#include "transmitter/transmitter.h"

namespace {

using Seconds = std::chrono::duration<double>;

constexpr std::chrono::milliseconds kPollPeriod{40};
constexpr double kAllowedOverhead = 1.10;
constexpr double kAllowedTraceShare = 0.01;

// Adds up the time the trace's writer takes for every event.
class TimedSink final : public hart::TraceSink {
public:
    explicit TimedSink(hart::TraceSink& inner) : m_inner(inner) {}
    void record(const hart::TraceEvent& event) override
    {
        const auto start = std::chrono::steady_clock::now();
        m_inner.record(event);
        spent += std::chrono::steady_clock::now() - start;
        ++events;
    }
    std::chrono::steady_clock::duration spent{};
    int events = 0;

private:
    hart::TraceSink& m_inner;
};

}  // namespace

int main()
{
    // The simulated port is linked in a private port map folder, never in the user's.
    PrivateFolder portMap;
    if (!portMap.ok()) {
        std::fprintf(stderr, "bench_read_config: cannot create a port map folder\n");
        return 1;
    }
    setenv("TARVEL4410_PORTS_DIR", portMap.path().c_str(), 1);
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    const sim::HostOptions options{.wireTiming = true, .timing = {}, .line = {}};
    sim::SimulatorHost host(setup, options);
    const auto endpoint = host.start();
    if (!endpoint) {
        std::fprintf(stderr, "bench_read_config: %s\n", host.error().c_str());
        return 1;
    }

    ConsoleUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings settings(endpoint->comNumber);
    transmitter::CTransmitter xmtr(user, settings, sleeper);

    const auto start = std::chrono::steady_clock::now();
    bool ok = ReadWholeConfiguration(xmtr);
    const Seconds elapsed = std::chrono::steady_clock::now() - start;

    const auto requests = host.requests();
    const Seconds bound = host.wireTime();
    const Seconds target =
        kAllowedOverhead * (bound + Seconds(kPollPeriod) * static_cast<double>(requests.size()));
    std::size_t requestBytes = 0, answerBytes = 0;
    for (const auto& request : requests) {
        requestBytes += request.requestBytes;
        answerBytes += request.answerBytes;
    }

    std::printf(
        "COM%d, %zu transactions, %zu request bytes, %zu answer bytes, turnaround %lld us\n",
        endpoint->comNumber, requests.size(), requestBytes, answerBytes,
        static_cast<long long>(options.timing.turnaround().count()));
    std::printf("target: elapsed <= %.3f s (%s)\n", target.count(),
                elapsed <= target ? "met" : "missed");

    // The same read again, traced to a file.
    host.clearRequests();
    std::string error;
    const auto traceFile =
        hart::TraceFileWriter::Open((portMap.path() / "read.trace").string(), sleeper.now(), error);
    if (!traceFile) {
        std::fprintf(stderr, "bench_read_config: %s\n", error.c_str());
        return 1;
    }
    TimedSink timed(*traceFile);
    xmtr.attachTrace(&timed);
    const auto tracedStart = std::chrono::steady_clock::now();
    ok = ReadWholeConfiguration(xmtr) && ok;
    const Seconds tracedElapsed = std::chrono::steady_clock::now() - tracedStart;
    xmtr.attachTrace(nullptr);
    const Seconds traceSpent = timed.spent;
    const double traceShare = traceSpent.count() / elapsed.count();
    std::printf("trace: %d events, %.3f ms writing them (%.3f %% of the untraced read; target "
                "<= %.0f %%: %s)\n",
                timed.events, traceSpent.count() * 1000.0, traceShare * 100.0,
                kAllowedTraceShare * 100.0, traceShare <= kAllowedTraceShare ? "met" : "missed");
    if (!ok || user.messages != 0 || traceFile->failed())
        std::printf("the read failed: %d message(s)\n", user.messages);
    std::printf("elapsed %.3f s untraced, %.3f s traced, bound %.3f s, ratio %.3f\n",
                elapsed.count(), tracedElapsed.count(), bound.count(),
                elapsed.count() / bound.count());
    return ok && !traceFile->failed() ? 0 : 1;
}
