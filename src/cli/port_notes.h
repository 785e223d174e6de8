#pragma once

#include "serial/port_hold.h"

namespace cli {

// One line on standard error when the command's port hold met something the user should
// know: who keeps the port busy, or that the lock file could not be written and the
// command goes on without it.
void ReportPortHold(const serial::PortHold& hold, int comNumber);

}  // namespace cli
