// tarvel4410-sim: a simulated Тарвел-4410 on a pseudo-terminal, linked as COM<n>, and as
// a HART-IP server.

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "serial/port_map.h"
#include "simulator/multidrop_setup.h"
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

    std::vector<sim::SimulatorSetup> setups(static_cast<std::size_t>(options.deviceCount()));
    for (std::size_t i = 0; i < options.stateFiles.size(); ++i) {
        const std::string& file = options.stateFiles[i];
        sim::StateFileResult loaded = sim::StateFile::load(file);
        if (!loaded.ok()) {
            for (const std::string& error : loaded.errors)
                std::cerr << "tarvel4410-sim: " << file << ": " << error << '\n';
            return kExitUsage;
        }
        setups[i] = std::move(loaded.setup);
    }
    for (sim::SimulatorSetup& setup : setups) options.applyTo(setup);
    if (options.multidrop > 0) sim::PlaceOnMultidropLine(setups);
    bool valid = true;
    for (const sim::SimulatorSetup& setup : setups) {
        const std::vector<std::string> problems = sim::ValidateSetup(setup);
        for (const std::string& problem : problems)
            std::cerr << "tarvel4410-sim: " << problem << '\n';
        valid = valid && problems.empty();
    }
    if (!valid) return kExitUsage;

    // Block the stop signals before any thread starts, so that only sigwait below sees them
    // and the link is always removed.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, signal);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const sim::LineEffects line{options.echo, static_cast<std::size_t>(options.garbageBytes)};
    sim::SimulatorHost host(setups, sim::HostOptions{options.wireTiming, {}, line});
    std::optional<sim::HostEndpoint> endpoint;
    if (!options.noPty) {
        endpoint = host.start(options.comNumber);
        if (!endpoint) {
            std::cerr << "tarvel4410-sim: " << host.error() << '\n';
            return kExitFailure;
        }
        std::cout << "COM" << endpoint->comNumber << " -> " << endpoint->device.string()
                  << ", port map folder " << serial::PortMapDir().string()
                  << (options.wireTiming ? ", 1200-baud wire timing" : "")
                  << (options.echo ? ", echo" : "");
        if (options.garbageBytes > 0)
            std::cout << ", " << options.garbageBytes << " noise bytes before each answer";
        std::cout << '\n';
    }
    if (options.hartIpPort) {
        const auto port = host.startHartIp({options.hartIpAddress, *options.hartIpPort});
        if (!port) {
            std::cerr << "tarvel4410-sim: HART-IP: " << host.error() << '\n';
            return kExitFailure;
        }
        std::cout << "HART-IP on " << options.hartIpAddress << ':' << *port << " (UDP and TCP)\n";
    }
    for (std::size_t i = 0; i < setups.size(); ++i) {
        const auto address =
            host.withDevice(i, [](sim::Device& device) { return device.longAddress(); });
        const sim::DeviceState& state = setups[i].state;
        std::cout << "Тарвел-4410 device id 0x" << Hex(state.identity.deviceId, 6)
                  << ", long address";
        for (std::uint8_t byte : address) std::cout << ' ' << Hex(byte, 2);
        std::cout << ", polling address " << int{state.identity.pollAddress} << ", tag "
                  << state.config.tag << '\n';
    }
    std::cout << "Ctrl+C stops it.\n" << std::flush;

    int received = 0;
    sigwait(&stopSignals, &received);
    host.stop();
    if (endpoint)
        std::cout << "Stopped; COM" << endpoint->comNumber << " removed.\n";
    else
        std::cout << "Stopped.\n";
    return 0;
}
