#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "serial/unique_fd.h"

// COM numbers on Linux: a folder of symbolic links named COM<n> (n = 1…255), each
// pointing at a serial device.
namespace serial {

constexpr int kFirstComNumber = 1;
constexpr int kLastComNumber = 255;

// $TARVEL4410_PORTS_DIR, else $XDG_CONFIG_HOME (or ~/.config)/Tarvel 4410 Configuration Tool/ports.
std::filesystem::path PortMapDir();

// The device that COM<n> points at, when the link exists and its target is present.
std::optional<std::filesystem::path> ComDevice(int comNumber);

enum class PortState { Free, Busy, Absent };

// Whether COM<n> exists and nobody holds it, as the port list shows it: an exclusive flock
// on the device, a live UUCP lock file (/var/lock/LCK..name) or another process that has
// the device open means busy.
PortState ProbeComPort(int comNumber);

struct PortInfo {
    int comNumber;
    std::filesystem::path device;
    bool busy;
};

// Present ports in number order. Serial devices present without a link (USB, ACM, real
// UARTs) get one at the lowest free number first.
std::vector<PortInfo> ListPorts();

// Links COM<n> to target, or at the lowest free number when comNumber is 0. Returns the
// number used, or nullopt when the folder cannot be written or COM<n> is taken.
std::optional<int> LinkComPort(const std::filesystem::path& target, int comNumber = 0);

// Removes COM<n> when it still points at target (so a link somebody else replaced stays),
// with its owner lock file when it has one.
void UnlinkComPort(int comNumber, const std::filesystem::path& target);

// A link for a device that lives only as long as its maker (a pseudo-terminal, whose number
// the system soon gives to somebody else's terminal). The maker holds a lock file beside the
// link, COM<n>.owner, for as long as it lives, so a link that a killed maker left behind is
// told from a live one.
struct OwnedComLink {
    int comNumber = 0;
    UniqueFd ownerLock;  // invalid when the lock file could not be made: a plain link then
};
std::optional<OwnedComLink> LinkOwnedComPort(const std::filesystem::path& target,
                                             int comNumber = 0);

// Removes the links whose makers have gone. Listing ports and making a link do it first.
void RemoveOrphanedComLinks();

}  // namespace serial
