#pragma once

#include <cstdint>
#include <vector>

// The simulated transmitter's answer on the line is a sequence of whole frames: preambles,
// delimiter, address, command, count, the counted bytes and the checksum; the checksum holds
// unless a fault spoilt it. Aborts the fuzz run when it is not.
void CheckAnswerLine(const std::vector<std::uint8_t>& line, bool checksumMayBeSpoilt);
