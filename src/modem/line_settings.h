#pragma once

#include <termios.h>

namespace modem {

// HART's line: 1200 baud, 8 data bits, odd parity, 1 stop bit, no flow control, raw bytes.
// Made from the device's current settings so that fields this code does not know keep
// their values. VMIN 1 with a non-blocking descriptor makes an empty line read as
// EAGAIN and a hung-up one as end of file.
termios HartLineSettings(const termios& current);

// Whether the device holds what HART needs of the wanted settings. Parity and character
// size are left out: a device without a real line (the pseudo-terminal of a simulated
// transmitter) always keeps 8 bits without parity, and the C library then reports the
// whole request as failed although everything else took effect.
bool HoldsHartLineSettings(const termios& actual, const termios& wanted);

}  // namespace modem
