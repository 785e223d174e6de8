#include "cli/port_notes.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "serial/port_map.h"

namespace cli {
namespace {

std::string Holder(const serial::PortUser& user)
{
    if (!user.notAFile.empty())
        return "its lock file " + user.notAFile.string() + " is not a regular file";
    if (user.pid != 0) {
        std::string text = "held by process " + std::to_string(user.pid);
        if (!user.program.empty()) text += " (" + user.program + ")";
        return text;
    }
    if (!user.fileOwner.empty()) return "its lock file belongs to user " + user.fileOwner;
    return "held by another program";
}

}  // namespace

void ReportPortHold(const serial::PortHold& hold, int comNumber)
{
    const auto device = serial::ComDevice(comNumber);
    const std::string port = "COM" + std::to_string(comNumber) + " (" +
                             (device ? device->string() : std::string()) + ")";
    if (const auto& user = hold.busyWith()) {
        std::fprintf(stderr, "tarvel4410-cli: %s is busy: %s\n", port.c_str(),
                     Holder(*user).c_str());
    } else if (const auto& notWritten = hold.lockNotWritten()) {
        std::fprintf(stderr,
                     "tarvel4410-cli: warning: the lock file %s cannot be written (%s); %s is "
                     "used without it\n",
                     notWritten->lockFile.c_str(), std::strerror(notWritten->error), port.c_str());
    }
}

}  // namespace cli
