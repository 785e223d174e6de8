#include "serial/port_list.h"

#include <set>
#include <system_error>
#include <utility>

#include "serial/port_probe.h"
#include "serial/serial_device_scan.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

std::vector<std::pair<int, fs::path>> PresentComDevices()
{
    std::vector<std::pair<int, fs::path>> present;
    for (int comNumber = kFirstComNumber; comNumber <= kLastComNumber; ++comNumber) {
        if (auto device = ComDevice(comNumber)) {
            present.emplace_back(comNumber, std::move(*device));
        }
    }
    return present;
}

void LinkUnmappedDevices(const std::vector<fs::path>& candidates)
{
    std::set<fs::path> mapped;
    for (auto& [comNumber, device] : PresentComDevices()) {
        mapped.insert(std::move(device));
    }
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        fs::path device = fs::canonical(candidate, error);
        if (error || mapped.contains(device)) {
            continue;
        }
        if (LinkComPort(candidate)) {
            mapped.insert(std::move(device));
        }
    }
}

}  // namespace

std::vector<PortInfo> ListPorts(const std::vector<fs::path>& candidates)
{
    RemoveOrphanedComLinks();
    LinkUnmappedDevices(candidates);
    std::vector<PortInfo> ports;
    for (auto& [comNumber, device] : PresentComDevices()) {
        const PortState state = ProbeDevice(device);
        if (state != PortState::Absent) {
            ports.push_back(PortInfo{comNumber, std::move(device), state == PortState::Busy});
        }
    }
    return ports;
}

std::vector<PortInfo> ListPorts() { return ListPorts(ScanSerialDevices()); }

}  // namespace serial
