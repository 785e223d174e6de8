// bench_hartip: full configuration reads over HART-IP to the simulated transmitter's server
// on loopback, unpaced, over UDP and over TCP. Each transaction's cost above the device's
// own turnaround (the time it takes to answer the same requests, measured on the device
// alone) is the link's overhead: the engine, the session and the network stack. Target: at
// most 1 ms per transaction.

#include <chrono>
#include <cstdio>
#include <string>

#include "hart/fixed_hartip_settings.h"
#include "read_configuration.h"
#include "simulator/device.h"
#include "simulator/request_parser.h"
#include "simulator/simulator_host.h"
#include "transmitter/transmitter.h"

namespace {

using Micro = std::chrono::duration<double, std::micro>;

constexpr int kReads = 20;
constexpr double kAllowedOverheadUs = 1000.0;

// The device alone answering the logged requests again.
Micro DeviceTurnaround(const sim::SimulatorSetup& setup,
                       const std::vector<sim::LoggedRequest>& logged)
{
    sim::Device device(setup);
    std::vector<sim::Request> requests;
    for (const auto& entry : logged) {
        sim::RequestParser parser;
        parser.push(0xFF);
        parser.push(0xFF);
        for (std::uint8_t byte : entry.requestFrame)
            if (auto request = parser.push(byte)) requests.push_back(std::move(*request));
    }
    const auto start = std::chrono::steady_clock::now();
    for (const auto& request : requests) device.answer(request);
    return std::chrono::steady_clock::now() - start;
}

}  // namespace

int main()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    sim::SimulatorHost host(setup);
    const auto port = host.startHartIp({.address = "127.0.0.1", .port = 0});
    if (!port) {
        std::fprintf(stderr, "bench_hartip: %s\n", host.error().c_str());
        return 1;
    }

    bool ok = true;
    for (const bool tcp : {false, true}) {
        ConsoleUser user;
        hart::RealSleeper sleeper;
        const hart::FixedHartIpSettings settings({"127.0.0.1", *port, tcp});
        transmitter::CTransmitter xmtr(user, settings, sleeper);
        ok = xmtr.Identify() == 1 && ok;  // the session is up before the clock starts
        host.clearRequests();

        const auto start = std::chrono::steady_clock::now();
        for (int read = 0; read < kReads; ++read) ok = ReadWholeConfiguration(xmtr) && ok;
        const Micro elapsed = std::chrono::steady_clock::now() - start;

        const auto logged = host.requests();
        const double transactions = static_cast<double>(logged.size());
        const double perTransaction = elapsed.count() / transactions;
        const double turnaround = DeviceTurnaround(setup, logged).count() / transactions;
        const double overhead = perTransaction - turnaround;
        std::printf("%s: %d reads, %zu transactions in %.1f ms: %.1f us per transaction, device "
                    "turnaround %.1f us, overhead %.1f us (target <= %.0f us: %s)\n",
                    tcp ? "TCP" : "UDP", kReads, logged.size(), elapsed.count() / 1000.0,
                    perTransaction, turnaround, overhead, kAllowedOverheadUs,
                    overhead <= kAllowedOverheadUs ? "met" : "missed");
        ok = ok && user.messages == 0 && overhead <= kAllowedOverheadUs;
    }
    return ok ? 0 : 1;
}
