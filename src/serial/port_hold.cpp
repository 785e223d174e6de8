#include "serial/port_hold.h"

#include <map>
#include <mutex>

#include "serial/port_map.h"
#include "serial/uucp_lock.h"

namespace serial {

namespace {

std::mutex g_holdsMutex;
std::map<std::filesystem::path, int> g_holdCounts;

}  // namespace

PortHold::PortHold(int comNumber)
{
    const auto device = ComDevice(comNumber);
    if (!device) {
        return;
    }
    std::lock_guard lock(g_holdsMutex);
    int& count = g_holdCounts[*device];
    if (count == 0 && !CreateUucpLock(*device)) {
        g_holdCounts.erase(*device);
        return;
    }
    ++count;
    m_device = *device;
}

PortHold::~PortHold()
{
    if (m_device.empty()) {
        return;
    }
    std::lock_guard lock(g_holdsMutex);
    if (--g_holdCounts[m_device] == 0) {
        g_holdCounts.erase(m_device);
        RemoveUucpLock(m_device);
    }
}

}  // namespace serial
