// bench_scan: scans polling addresses 0–15 of a simulated multidrop line with three
// transmitters (at 1, 2 and 3), paced as a 1200-baud line, through the real driver library,
// and prints the time beside the bound of 8 s.
//
// Each silent address costs its request and HART's slave time-out (28 characters); each
// device its identification and its tag read.

#include <chrono>
#include <cstdio>
#include <stdlib.h>

#include "private_folder.h"
#include "simulator/multidrop_setup.h"
#include "simulator/simulator_host.h"
#include "transmitter/line_scan.h"

namespace {

using Seconds = std::chrono::duration<double>;

constexpr Seconds kBound{8.0};
constexpr int kDevices = 3;

class ConsoleUser final : public hart::UserInteraction {
public:
    void notify(int messageId, const std::string& text, hart::MessageIcon) override
    {
        std::fprintf(stderr, "message %d: %s\n", messageId, text.c_str());
    }
    int ask(int messageId, const std::string& text, int) override
    {
        std::fprintf(stderr, "question %d: %s\n", messageId, text.c_str());
        return 2;
    }
};

}  // namespace

int main()
{
    PrivateFolder portMap;
    if (!portMap.ok()) {
        std::fprintf(stderr, "bench_scan: cannot create a port map folder\n");
        return 1;
    }
    setenv("TARVEL4410_PORTS_DIR", portMap.path().c_str(), 1);
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    sim::SimulatorHost host(sim::MultidropSetups(setup, kDevices),
                            sim::HostOptions{.wireTiming = true, .timing = {}, .line = {}});
    const auto endpoint = host.start();
    if (!endpoint) {
        std::fprintf(stderr, "bench_scan: %s\n", host.error().c_str());
        return 1;
    }

    ConsoleUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings settings(endpoint->comNumber);
    const auto start = std::chrono::steady_clock::now();
    const transmitter::ScanResult result = transmitter::ScanLine(user, settings, sleeper);
    const Seconds elapsed = std::chrono::steady_clock::now() - start;

    const Seconds line = host.wireTime();
    std::printf("COM%d, %zu devices found of %d, %zu requests, %.3f s of them on the line\n",
                endpoint->comNumber, result.devices.size(), kDevices, host.requests().size(),
                line.count());
    std::printf("scan of 0-15: %.3f s, bound %.3f s (%s)\n", elapsed.count(), kBound.count(),
                elapsed <= kBound ? "met" : "missed");
    const bool found = result.devices.size() == static_cast<std::size_t>(kDevices);
    return found && elapsed <= kBound ? 0 : 1;
}
