#include "serial/serial_device_scan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <linux/serial.h>
#include <map>
#include <optional>
#include <string_view>
#include <sys/ioctl.h>
#include <system_error>
#include <tuple>

#include "serial/unique_fd.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

// Scan order of the device families; the rank is the index.
constexpr std::array<std::string_view, 3> kFamilies = {"ttyS", "ttyACM", "ttyUSB"};
constexpr std::size_t kUartFamily = 0;

struct KernelDevice {
    std::size_t family;
    unsigned number;
    std::string name;
};

std::optional<KernelDevice> ParseKernelName(const std::string& name)
{
    for (std::size_t family = 0; family < kFamilies.size(); ++family) {
        const std::string_view prefix = kFamilies[family];
        if (!name.starts_with(prefix) || name.size() == prefix.size()) {
            continue;
        }
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        unsigned number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc() && end == last) {
            return KernelDevice{family, number, name};
        }
    }
    return std::nullopt;
}

std::optional<int> ReadSysfsInt(const fs::path& file)
{
    std::ifstream in(file);
    int value = 0;
    if (in >> value) {
        return value;
    }
    return std::nullopt;
}

std::optional<int> QueryUartType(const fs::path& device)
{
    UniqueFd fd(::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    serial_struct info{};
    if (!fd.valid() || ::ioctl(fd.get(), TIOCGSERIAL, &info) != 0) {
        return std::nullopt;
    }
    return info.type;
}

// The kernel creates ttyS0…ttySn whether or not a UART answers there; only a port with a
// driver and a known UART type is real. sysfs tells the type without opening the port
// (opening raises its modem lines).
bool IsRealUart(const ScanRoots& roots, const std::string& name, const fs::path& device)
{
    const fs::path sysEntry = roots.sys / "class" / "tty" / name;
    std::error_code error;
    if (!fs::exists(sysEntry / "device" / "driver", error)) {
        return false;
    }
    const auto type = ReadSysfsInt(sysEntry / "type");
    const auto knownType = type ? type : QueryUartType(device);
    return knownType && *knownType != PORT_UNKNOWN;
}

// Kernel device → its by-id name; the first name in order when a device has several.
std::map<fs::path, fs::path> ByIdNames(const ScanRoots& roots)
{
    std::map<fs::path, fs::path> names;
    std::error_code error;
    for (fs::directory_iterator it(roots.dev / "serial" / "by-id", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code resolveError;
        const fs::path device = fs::canonical(it->path(), resolveError);
        if (resolveError) {
            continue;
        }
        auto [slot, inserted] = names.try_emplace(device, it->path());
        if (!inserted && it->path() < slot->second) {
            slot->second = it->path();
        }
    }
    return names;
}

std::vector<KernelDevice> KernelDevices(const ScanRoots& roots)
{
    std::vector<KernelDevice> devices;
    std::error_code error;
    for (fs::directory_iterator it(roots.dev, error), end; !error && it != end;
         it.increment(error)) {
        if (auto device = ParseKernelName(it->path().filename().string())) {
            devices.push_back(std::move(*device));
        }
    }
    std::sort(devices.begin(), devices.end(), [](const KernelDevice& a, const KernelDevice& b) {
        return std::tie(a.family, a.number) < std::tie(b.family, b.number);
    });
    return devices;
}

}  // namespace

std::vector<fs::path> ScanSerialDevices(const ScanRoots& roots)
{
    const auto byId = ByIdNames(roots);
    std::vector<fs::path> found;
    for (const KernelDevice& device : KernelDevices(roots)) {
        const fs::path path = roots.dev / device.name;
        if (device.family == kUartFamily) {
            if (IsRealUart(roots, device.name, path)) {
                found.push_back(path);
            }
            continue;
        }
        std::error_code error;
        const auto named = byId.find(fs::canonical(path, error));
        found.push_back(!error && named != byId.end() ? named->second : path);
    }
    return found;
}

}  // namespace serial
