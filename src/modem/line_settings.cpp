#include "modem/line_settings.h"

namespace modem {

namespace {

constexpr speed_t kHartBaud = B1200;
constexpr tcflag_t kCookedInput =
    IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK;
constexpr tcflag_t kCookedLocal = ECHO | ECHONL | ICANON | ISIG | IEXTEN;

}  // namespace

termios HartLineSettings(const termios& current)
{
    termios settings = current;
    ::cfmakeraw(&settings);
    settings.c_iflag &= ~kCookedInput;
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | PARENB | PARODD | CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, kHartBaud);
    ::cfsetospeed(&settings, kHartBaud);
    return settings;
}

bool HoldsHartLineSettings(const termios& actual, const termios& wanted)
{
    constexpr tcflag_t kCheckedControl = PARODD | CSTOPB | CRTSCTS | CLOCAL | CREAD;
    return ::cfgetispeed(&actual) == ::cfgetispeed(&wanted) &&
           ::cfgetospeed(&actual) == ::cfgetospeed(&wanted) &&
           (actual.c_iflag & kCookedInput) == (wanted.c_iflag & kCookedInput) &&
           (actual.c_lflag & kCookedLocal) == (wanted.c_lflag & kCookedLocal) &&
           (actual.c_oflag & OPOST) == (wanted.c_oflag & OPOST) &&
           (actual.c_cflag & kCheckedControl) == (wanted.c_cflag & kCheckedControl) &&
           actual.c_cc[VMIN] == wanted.c_cc[VMIN] && actual.c_cc[VTIME] == wanted.c_cc[VTIME];
}

}  // namespace modem
