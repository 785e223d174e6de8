#include "serial/port_hold.h"

#include <map>
#include <mutex>

#include "serial/device_holders.h"
#include "serial/port_map.h"
#include "serial/process_name.h"

namespace serial {

namespace {

// What the first hold of a device found; the nested ones share it.
struct HoldState {
    int count = 0;
    std::optional<UucpLock> lock;
    std::optional<PortUser> busyWith;
    std::optional<UucpLock::NotWritten> lockNotWritten;
};

std::mutex g_holdsMutex;
std::map<std::filesystem::path, HoldState> g_holds;

void Take(const std::filesystem::path& device, HoldState& state)
{
    UucpLock::Outcome outcome = UucpLock::take(device);
    if (auto* lock = std::get_if<UucpLock>(&outcome)) {
        state.lock = std::move(*lock);
    } else if (auto* user = std::get_if<PortUser>(&outcome)) {
        state.busyWith = std::move(*user);
        return;
    } else {
        state.lockNotWritten = std::get<UucpLock::NotWritten>(outcome);
    }
    // After the lock is ours: another of our programs cannot start using the port now.
    if (const auto pid = AnotherProcessUsing(device)) {
        PortUser user;
        user.pid = *pid;
        user.program = ProcessName(*pid);
        state.busyWith = std::move(user);
        state.lock.reset();
    }
}

}  // namespace

PortHold::PortHold(int comNumber)
{
    const auto device = ComDevice(comNumber);
    if (!device) {
        return;
    }
    std::lock_guard lock(g_holdsMutex);
    HoldState& state = g_holds[*device];
    if (state.count++ == 0) {
        Take(*device, state);
    }
    m_device = *device;
    m_held = state.lock.has_value();
    m_busyWith = state.busyWith;
    m_lockNotWritten = state.lockNotWritten;
}

PortHold::~PortHold()
{
    if (m_device.empty()) {
        return;
    }
    std::lock_guard lock(g_holdsMutex);
    const auto found = g_holds.find(m_device);
    if (found != g_holds.end() && --found->second.count == 0) {
        g_holds.erase(found);
    }
}

bool HeldBusyElsewhere(const std::filesystem::path& device)
{
    std::lock_guard lock(g_holdsMutex);
    const auto found = g_holds.find(device);
    return found != g_holds.end() && found->second.busyWith.has_value();
}

}  // namespace serial
