#pragma once

// SimulatorHost: a simulated Тарвел-4410 on a pseudo-terminal, in-process, for end-to-end
// tests of the engine, the operations and the front ends (and for --demo).
//
//     #include "simulator/simulator_host.h"  // link tarvel_simulator_host
//
//     setenv("TARVEL4410_PORTS_DIR", tempDir.c_str(), 1);   // a private port map folder
//     sim::SimulatorSetup setup;                            // defaults: PT100, 0–100 °C, …
//     setup.process.noise = 0;                              // steady readings
//     sim::SimulatorHost host(setup);
//     auto endpoint = host.start();        // COM<lowest free>; start(5) for COM5
//     ASSERT_TRUE(endpoint) << host.error();
//     // endpoint->comNumber, endpoint->device ("/dev/pts/N"), endpoint->link (…/COM<n>)
//
//     ... run the program's code against COM<endpoint->comNumber> ...
//
//     host.withDevice([](sim::Device& device) {            // under the host's lock
//         device.faults().busy = sim::FaultCount::times(1);
//         device.state().config.writeProtect = 1;
//     });
//     float damping = host.withDevice([](sim::Device& d) { return d.state().config.dampingS; });
//     // (return values, not references: the lock ends with the call)
//     std::vector<std::uint8_t> sent = host.commands();     // command numbers received
//     std::vector<sim::LoggedRequest> log = host.requests(); // with their data bytes
//     host.waitForRequests(3, std::chrono::seconds(5));     // a condition, not a sleep
//
// stop() (or the destructor) ends the server and removes the COM<n> link.
//
// HART-IP beside (or instead of) the pseudo-terminal, the same device behind both:
//     auto port = host.startHartIp({.address = "127.0.0.1", .port = 0});  // 0: any free port
//     ASSERT_TRUE(port) << host.error();   // UDP and TCP on *port
//
// A multidrop line: SimulatorHost host(sim::MultidropSetups(setup, 3)) puts three devices on
// the one pseudo-terminal; withDevice(i, fn) reaches the i-th, and every request goes to all
// of them (only the addressed one answers).
//
// Options: HostOptions{.wireTiming = true} paces answers as a 1200-baud line; the total line
// time of the logged transactions is host.wireTime(). HostOptions{.line = {.echo = true,
// .garbageBytes = 3}} echoes requests and puts noise before answers.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "serial/unique_fd.h"
#include "simulator/device.h"
#include "simulator/hartip_server.h"
#include "simulator/pty_server.h"
#include "simulator/simulator_setup.h"
#include "simulator/wire_timing.h"

namespace sim {

struct HostOptions {
    bool wireTiming = false;
    WireTiming timing;
    LineEffects line;
};

struct HostEndpoint {
    int comNumber;
    std::filesystem::path device;  // the pseudo-terminal's slave side
    std::filesystem::path link;    // COM<n> in the port map folder
};

class SimulatorHost {
public:
    explicit SimulatorHost(SimulatorSetup setup = {}, HostOptions options = {});
    // Several devices on one line, in the order given.
    explicit SimulatorHost(std::vector<SimulatorSetup> setups, HostOptions options = {});
    ~SimulatorHost();
    SimulatorHost(const SimulatorHost&) = delete;
    SimulatorHost& operator=(const SimulatorHost&) = delete;

    // Opens the pseudo-terminal, links it as COM<comNumber> (0: the lowest free number) and
    // starts answering. nullopt, with error() saying why, when any of that fails.
    std::optional<HostEndpoint> start(int comNumber = 0);
    // Serves the device over HART-IP (UDP and TCP); the port listened on, or nullopt with
    // error() saying why.
    std::optional<std::uint16_t> startHartIp(const HartIpListen& listen);
    // Stops answering and removes the link. Safe to call more than once.
    void stop();
    bool running() const;
    const std::string& error() const;

    // Runs fn(Device&) under the lock the server thread also takes for each request.
    template <class Fn>
    decltype(auto) withDevice(Fn&& fn)
    {
        return withDevice(0, std::forward<Fn>(fn));
    }
    template <class Fn>
    decltype(auto) withDevice(std::size_t index, Fn&& fn)
    {
        std::lock_guard lock(m_mutex);
        return fn(*m_devices.at(index));
    }
    std::size_t deviceCount() const { return m_devices.size(); }

    // Every device hears every request; the first one's log stands for the line.
    std::vector<LoggedRequest> requests() const;
    std::vector<LoggedRequest> requests(std::size_t device) const;
    // Command numbers of the requests addressed to the device with a good checksum.
    std::vector<std::uint8_t> commands() const;
    void clearRequests();
    // Waits until the device has received this many frames in all (counted since start).
    bool waitForRequests(std::size_t totalCount, std::chrono::milliseconds timeout) const;
    // The time the logged transactions take on a 1200-baud line, all devices' answers included.
    std::chrono::nanoseconds wireTime() const;

private:
    std::vector<std::uint8_t> respond(const Request& request);

    HostOptions m_options;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_requestArrived;
    std::vector<std::unique_ptr<Device>> m_devices;
    PtyServer m_server;
    HartIpServer m_hartIpServer;
    std::optional<HostEndpoint> m_endpoint;
    serial::UniqueFd
        m_linkOwner;  // held while the link lives: a link left by a killed host is reclaimed
    std::string m_error;
};

}  // namespace sim
