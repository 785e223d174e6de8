// bench_link_overhead: what a busy machine costs the link. A full read of the configuration
// (identification and the six read groups) against the unpaced simulated transmitter, with
// no extra processes and beside a crowd of 2,000 processes holding 8 open files each, side
// by side. BM_ReadTransactions reads under one port hold and gives the time per transaction:
// every transaction opens and closes the port, and the target is a difference of at most
// 1 ms per transaction. BM_PortHold is the hold on its own, taken once per operation: that is
// where other processes using the device are looked for, so that one grows with the machine.
//
// The engine's waits are cut to a fortieth, so that the link's own work is not lost in them.

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "private_folder.h"
#include "serial/port_hold.h"
#include "simulator/simulator_host.h"
#include "transmitter/transmitter.h"
#include "whole_configuration.h"

namespace {

constexpr int kFilesPerProcess = 8;

class ShortenedSleeper final : public hart::Sleeper {
public:
    void sleepFor(std::chrono::milliseconds duration) override
    {
        std::this_thread::sleep_for(duration / 40);
    }
};

class SilentUser final : public hart::UserInteraction {
public:
    void notify(int, const std::string&, hart::MessageIcon) override { ++messages; }
    int ask(int, const std::string&, int) override
    {
        ++messages;
        return 2;
    }
    int messages = 0;
};

// Child processes that each open a file several times and wait. They die with the
// benchmark whatever way it ends: killed here, or by the kernel when their parent goes
// (a crash, a signal).
class ProcessCrowd {
public:
    ProcessCrowd(int count, const std::filesystem::path& file)
    {
        const pid_t parent = ::getpid();
        for (int i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                if (::getppid() != parent) ::_exit(0);
                for (int f = 0; f < kFilesPerProcess; ++f) ::open(file.c_str(), O_RDONLY);
                for (;;) ::pause();
            }
            if (child < 0) break;
            m_children.push_back(child);
        }
    }
    ~ProcessCrowd()
    {
        for (const pid_t child : m_children) ::kill(child, SIGKILL);
        for (const pid_t child : m_children) ::waitpid(child, nullptr, 0);
    }
    ProcessCrowd(const ProcessCrowd&) = delete;
    ProcessCrowd& operator=(const ProcessCrowd&) = delete;

    int size() const { return static_cast<int>(m_children.size()); }

private:
    std::vector<pid_t> m_children;
};

struct Link {
    PrivateFolder folder;
    std::unique_ptr<sim::SimulatorHost> host;
    int comNumber = 0;
    std::filesystem::path crowdFile;

    Link() : crowdFile(folder.path() / "crowd-file")
    {
        std::ofstream(crowdFile) << "open by every process of the crowd\n";
        std::filesystem::create_directories(folder.path() / "lock");
        setenv("TARVEL4410_PORTS_DIR", (folder.path() / "ports").c_str(), 1);
        setenv("TARVEL4410_LOCK_DIR", (folder.path() / "lock").c_str(), 1);
        sim::SimulatorSetup setup;
        setup.process.noise = 0.0f;
        host = std::make_unique<sim::SimulatorHost>(setup);
        if (const auto endpoint = host->start()) comNumber = endpoint->comNumber;
    }
};

Link& TheLink()
{
    static Link link;
    return link;
}

void BM_ReadTransactions(benchmark::State& state)
{
    Link& link = TheLink();
    if (link.comNumber == 0) {
        state.SkipWithError(link.host->error().c_str());
        return;
    }
    const ProcessCrowd crowd(static_cast<int>(state.range(0)), link.crowdFile);
    SilentUser user;
    ShortenedSleeper sleeper;
    hart::FixedPortSettings settings(link.comNumber);
    transmitter::CTransmitter xmtr(user, settings, sleeper);
    const auto requestsSoFar = [&] {
        return link.host->withDevice([](sim::Device& device) { return device.log().totalCount(); });
    };
    const std::size_t before = requestsSoFar();
    std::chrono::steady_clock::duration spent{};
    const serial::PortHold hold(link.comNumber);
    bool ok = hold.held();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        ok = ReadWholeConfiguration(xmtr) && ok;
        spent += std::chrono::steady_clock::now() - start;
    }
    const auto transactions = static_cast<double>(requestsSoFar() - before);
    if (!ok || user.messages != 0) state.SkipWithError("the read failed");
    state.counters["processes"] = crowd.size();
    state.counters["transactions"] = transactions / static_cast<double>(state.iterations());
    state.counters["ms_per_transaction"] =
        std::chrono::duration<double, std::milli>(spent).count() / transactions;
}
BENCHMARK(BM_ReadTransactions)->Arg(0)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PortHold(benchmark::State& state)
{
    Link& link = TheLink();
    const ProcessCrowd crowd(static_cast<int>(state.range(0)), link.crowdFile);
    for (auto _ : state) {
        const serial::PortHold hold(link.comNumber);
        benchmark::DoNotOptimize(hold.held());
    }
    state.counters["processes"] = crowd.size();
}
BENCHMARK(BM_PortHold)->Arg(0)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
