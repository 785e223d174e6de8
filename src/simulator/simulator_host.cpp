#include "simulator/simulator_host.h"

#include "serial/port_map.h"

namespace sim {

SimulatorHost::SimulatorHost(SimulatorSetup setup, HostOptions options)
    : m_options(options), m_device(std::move(setup)),
      m_server([this](const Request& request) { return respond(request); },
               options.wireTiming ? std::optional(options.timing) : std::nullopt, options.line),
      m_hartIpServer([this](const Request& request) { return respond(request); })
{
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
        bytes = m_device.answer(request);
    }
    m_requestArrived.notify_all();
    return bytes;
}

std::vector<LoggedRequest> SimulatorHost::requests() const
{
    std::lock_guard lock(m_mutex);
    const auto& entries = m_device.log().entries();
    return {entries.begin(), entries.end()};
}

std::vector<std::uint8_t> SimulatorHost::commands() const
{
    std::lock_guard lock(m_mutex);
    return m_device.log().commands();
}

void SimulatorHost::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_device.clearLog();
}

bool SimulatorHost::waitForRequests(std::size_t totalCount, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_requestArrived.wait_for(lock, timeout,
                                     [&] { return m_device.log().totalCount() >= totalCount; });
}

std::chrono::nanoseconds SimulatorHost::wireTime() const
{
    std::lock_guard lock(m_mutex);
    return m_options.timing.totalTime(m_device.log());
}

}  // namespace sim
