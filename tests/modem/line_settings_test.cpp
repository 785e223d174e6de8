#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "modem/line_settings.h"

namespace {

// Settings as a fresh terminal has them: cooked, echoing, 9600 baud, 7E2 with flow control.
termios CookedTerminal()
{
    termios cooked;
    std::memset(&cooked, 0, sizeof cooked);
    cooked.c_iflag = ICRNL | IXON | IXOFF | BRKINT | ISTRIP | INPCK;
    cooked.c_oflag = OPOST | ONLCR;
    cooked.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS | HUPCL;
    cooked.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    cooked.c_cc[VMIN] = 1;
    cooked.c_cc[VTIME] = 5;
    cfsetispeed(&cooked, B9600);
    cfsetospeed(&cooked, B9600);
    return cooked;
}

TEST(LineSettingsTest, HartLineIs1200Baud8O1Raw)
{
    const termios line = modem::HartLineSettings(CookedTerminal());
    EXPECT_EQ(cfgetispeed(&line), B1200);
    EXPECT_EQ(cfgetospeed(&line), B1200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD))
        << "odd parity";
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u) << "one stop bit";
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(line.c_cflag & HUPCL, static_cast<tcflag_t>(HUPCL)) << "left as it was";
    EXPECT_EQ(line.c_iflag &
                  (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | INPCK),
              0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(line.c_cc[VMIN], 1);
    EXPECT_EQ(line.c_cc[VTIME], 0);
}

struct HeldCase {
    const char* name;
    std::function<void(termios&)> deviceChange;
    bool held;
};

class HoldsLineSettingsTest : public testing::TestWithParam<HeldCase> {};

TEST_P(HoldsLineSettingsTest, JudgesWhatTheDeviceKept)
{
    const termios wanted = modem::HartLineSettings(CookedTerminal());
    termios actual = wanted;
    GetParam().deviceChange(actual);
    EXPECT_EQ(modem::HoldsHartLineSettings(actual, wanted), GetParam().held);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, HoldsLineSettingsTest,
    testing::Values(HeldCase{"AllKept", [](termios&) {}, true},
                    // What a pseudo-terminal does with the request.
                    HeldCase{"ParityAndSizeDropped",
                             [](termios& t) { t.c_cflag = (t.c_cflag & ~(PARENB | CSIZE)) | CS8; },
                             true},
                    HeldCase{"OtherSpeed", [](termios& t) { cfsetispeed(&t, B9600); }, false},
                    HeldCase{"StillCanonical", [](termios& t) { t.c_lflag |= ICANON; }, false},
                    HeldCase{"StillEchoing", [](termios& t) { t.c_lflag |= ECHO; }, false},
                    HeldCase{"OutputStillProcessed", [](termios& t) { t.c_oflag |= OPOST; }, false},
                    HeldCase{"SoftwareFlowControl", [](termios& t) { t.c_iflag |= IXON; }, false},
                    HeldCase{"EvenParity", [](termios& t) { t.c_cflag &= ~PARODD; }, false},
                    HeldCase{"TwoStopBits", [](termios& t) { t.c_cflag |= CSTOPB; }, false},
                    HeldCase{"ReadTimeout", [](termios& t) { t.c_cc[VTIME] = 1; }, false}),
    [](const testing::TestParamInfo<HeldCase>& info) { return info.param.name; });

}  // namespace
