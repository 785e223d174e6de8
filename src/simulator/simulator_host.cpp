#include "simulator/simulator_host.h"

#include <algorithm>

#include "serial/port_map.h"

namespace sim {

SimulatorHost::SimulatorHost(SimulatorSetup setup, HostOptions options)
    : SimulatorHost(std::vector{std::move(setup)}, options)
{
}

SimulatorHost::SimulatorHost(std::vector<SimulatorSetup> setups, HostOptions options)
    : m_options(options),
      m_server([this](const Request& request) { return respond(request); },
               options.wireTiming ? std::optional(options.timing) : std::nullopt, options.line),
      m_hartIpServer([this](const Request& request) { return respond(request); })
{
    for (SimulatorSetup& setup : setups)
        m_devices.push_back(std::make_unique<Device>(std::move(setup)));
    // Called under the lock, from a request to the device that asks.
    for (const auto& device : m_devices) {
        device->setPollAddressTaken([this, asking = device.get()](std::uint8_t address) {
            return std::any_of(m_devices.begin(), m_devices.end(), [&](const auto& other) {
                return other.get() != asking && other->state().identity.pollAddress == address;
            });
        });
    }
}

SimulatorHost::~SimulatorHost() { stop(); }

std::optional<HostEndpoint> SimulatorHost::start(int comNumber)
{
    if (m_endpoint) return m_endpoint;
    if (!m_server.start()) {
        m_error = m_server.error();
        return std::nullopt;
    }
    auto linked = serial::LinkOwnedComPort(m_server.devicePath(), comNumber);
    if (!linked) {
        m_error = comNumber == 0 ? "no free COM number in " + serial::PortMapDir().string()
                                 : "cannot link COM" + std::to_string(comNumber) + " in " +
                                       serial::PortMapDir().string() +
                                       " (taken, or the folder is not writable)";
        m_server.stop();
        return std::nullopt;
    }
    m_linkOwner = std::move(linked->ownerLock);
    m_endpoint = HostEndpoint{linked->comNumber, m_server.devicePath(),
                              serial::PortMapDir() / ("COM" + std::to_string(linked->comNumber))};
    return m_endpoint;
}

std::optional<std::uint16_t> SimulatorHost::startHartIp(const HartIpListen& listen)
{
    if (!m_hartIpServer.start(listen)) {
        m_error = m_hartIpServer.error();
        return std::nullopt;
    }
    return m_hartIpServer.port();
}

void SimulatorHost::stop()
{
    m_hartIpServer.stop();
    m_server.stop();
    if (m_endpoint) serial::UnlinkComPort(m_endpoint->comNumber, m_endpoint->device);
    m_endpoint.reset();
    m_linkOwner.reset();
}

bool SimulatorHost::running() const { return m_endpoint.has_value() && m_server.running(); }

const std::string& SimulatorHost::error() const { return m_error; }

std::vector<std::uint8_t> SimulatorHost::respond(const Request& request)
{
    std::vector<std::uint8_t> bytes;
    {
        std::lock_guard lock(m_mutex);
        // Each device hears the frame; two answers would collide on a real line, and so
        // they do here, back to back.
        for (const auto& device : m_devices) {
            const std::vector<std::uint8_t> answer = device->answer(request);
            bytes.insert(bytes.end(), answer.begin(), answer.end());
        }
    }
    m_requestArrived.notify_all();
    return bytes;
}

std::vector<LoggedRequest> SimulatorHost::requests() const { return requests(0); }

std::vector<LoggedRequest> SimulatorHost::requests(std::size_t device) const
{
    std::lock_guard lock(m_mutex);
    const auto& entries = m_devices.at(device)->log().entries();
    return {entries.begin(), entries.end()};
}

std::vector<std::uint8_t> SimulatorHost::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_devices.front()->log().commands();
}

void SimulatorHost::clearRequests()
{
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) device->clearLog();
}

bool SimulatorHost::waitForRequests(std::size_t totalCount, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_requestArrived.wait_for(
        lock, timeout, [&] { return m_devices.front()->log().totalCount() >= totalCount; });
}

std::chrono::nanoseconds SimulatorHost::wireTime() const
{
    std::lock_guard lock(m_mutex);
    // Every device logs every request in the same order: the line's answer to a request is
    // the sum of theirs.
    RequestLog line;
    const auto& first = m_devices.front()->log().entries();
    for (std::size_t i = 0; i < first.size(); ++i) {
        LoggedRequest entry;
        entry.requestBytes = first[i].requestBytes;
        for (const auto& device : m_devices)
            entry.answerBytes += device->log().entries()[i].answerBytes;
        line.add(std::move(entry));
    }
    return m_options.timing.totalTime(line);
}

}  // namespace sim
