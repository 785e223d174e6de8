// tarvel4410-sim: a simulated Тарвел-4410 on a pseudo-terminal, linked as COM<n>, and as
// a HART-IP server.

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "serial/port_map.h"
#include "simulator/setup_validation.h"
#include "simulator/simulator_host.h"
#include "simulator/state_file.h"
#include "simulator/tool_options.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

std::string Hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const sim::ToolOptionsResult parsed = sim::ParseToolOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "tarvel4410-sim: " << parsed.error << "\n\n" << sim::ToolUsage();
        return kExitUsage;
    }
    const sim::ToolOptions& options = parsed.options;
    if (options.help) {
        std::cout << sim::ToolUsage();
        return 0;
    }

    sim::SimulatorSetup setup;
    if (options.stateFile) {
        sim::StateFileResult loaded = sim::StateFile::load(*options.stateFile);
        if (!loaded.ok()) {
            for (const std::string& error : loaded.errors)
                std::cerr << "tarvel4410-sim: " << *options.stateFile << ": " << error << '\n';
            return kExitUsage;
        }
        setup = std::move(loaded.setup);
    }
    options.applyTo(setup);
    const std::vector<std::string> problems = sim::ValidateSetup(setup);
    for (const std::string& problem : problems) std::cerr << "tarvel4410-sim: " << problem << '\n';
    if (!problems.empty()) return kExitUsage;

    // Block the stop signals before any thread starts, so that only sigwait below sees them
    // and the link is always removed.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, signal);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const sim::LineEffects line{options.echo, static_cast<std::size_t>(options.garbageBytes)};
    sim::SimulatorHost host(setup, sim::HostOptions{options.wireTiming, {}, line});
    std::optional<sim::HostEndpoint> endpoint;
    if (!options.noPty) {
        endpoint = host.start(options.comNumber);
        if (!endpoint) {
            std::cerr << "tarvel4410-sim: " << host.error() << '\n';
            return kExitFailure;
        }
        std::cout << "COM" << endpoint->comNumber << " -> " << endpoint->device.string()
                  << ", port map folder " << serial::PortMapDir().string() << '\n';
    }
    if (options.hartIpPort) {
        const auto port = host.startHartIp({options.hartIpAddress, *options.hartIpPort});
        if (!port) {
            std::cerr << "tarvel4410-sim: HART-IP: " << host.error() << '\n';
            return kExitFailure;
        }
        std::cout << "HART-IP on " << options.hartIpAddress << ':' << *port << " (UDP and TCP)\n";
    }
    const auto address = host.withDevice([](sim::Device& device) { return device.longAddress(); });
    std::cout << "Тарвел-4410 device id 0x" << Hex(setup.state.identity.deviceId, 6)
              << ", long address";
    for (std::uint8_t byte : address) std::cout << ' ' << Hex(byte, 2);
    std::cout << ", polling address " << int{setup.state.identity.pollAddress}
              << (options.wireTiming ? ", 1200-baud wire timing" : "")
              << (options.echo ? ", echo" : "");
    if (options.garbageBytes > 0)
        std::cout << ", " << options.garbageBytes << " noise bytes before each answer";
    std::cout << "\nCtrl+C stops it.\n" << std::flush;

    int received = 0;
    sigwait(&stopSignals, &received);
    host.stop();
    if (endpoint)
        std::cout << "Stopped; COM" << endpoint->comNumber << " removed.\n";
    else
        std::cout << "Stopped.\n";
    return 0;
}
