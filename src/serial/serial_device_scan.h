#pragma once

#include <filesystem>
#include <vector>

namespace serial {

// Where the scan looks; tests point both at a folder tree of their own.
struct ScanRoots {
    std::filesystem::path dev = "/dev";
    std::filesystem::path sys = "/sys";
};

// Serial devices present: real UARTs (ttyS, kernel placeholders skipped), then ACM and USB
// adapters, each group in number order. A USB or ACM device is named by its
// serial/by-id link when it has one, so its COM link survives replugging into another
// socket.
std::vector<std::filesystem::path> ScanSerialDevices(const ScanRoots& roots = {});

}  // namespace serial
