// Identification and read commands: layouts byte by byte and the values of a new transmitter.

#include <cmath>

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::BitsAt;
using simtest::Bytes;
using simtest::FloatAt;
using simtest::UnsignedAt;

class SimReadCommands : public simtest::DeviceTest {};

constexpr std::uint32_t kNotANumberBits = 0x7FA00000;

TEST_F(SimReadCommands, IdentificationAnswerByteByByte)
{
    const Bytes bytes = raw(simtest::ShortRequest(249));
    const Bytes expected{
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // five preambles
        0x06,                          // short answer delimiter
        0x00,                          // poll address 0, master bit as asked (secondary)
        0xF9,                          // command 249
        0x0E,                          // byte count: 2 status bytes + 12 data bytes
        0x00, 0x20,                    // response code, device status: cold start
        0xFE,                          // 254
        0x99,                          // manufacturer 153
        0xFC,                          // device type 252
        0x05,                          // preambles wanted
        0x05,                          // universal revision 5
        0x01,                          // device revision
        0x02,                          // software revision
        0x08,                          // hardware revision 1 << 3 | signalling 0
        0x00,                          // flags
        0x0A, 0x1B, 0x2C,              // device id
        0x7C,                          // checksum: XOR from the delimiter on
    };
    EXPECT_EQ(bytes, expected);
}

TEST_F(SimReadCommands, CommandZeroAnswersTheSameIdentityAndLongFramesToo)
{
    const Answer viaZero = exchange(simtest::ShortRequest(0));
    const Answer via249 = exchange(simtest::ShortRequest(249));
    EXPECT_EQ(viaZero.data, via249.data);
    EXPECT_EQ(viaZero.command, 0);

    const Answer longAnswer = command(0);
    EXPECT_EQ(longAnswer.delimiter, 0x86);
    // The long answer carries the long address with the master bit of the request (secondary).
    EXPECT_EQ(longAnswer.address, (Bytes{0x19, 0xFC, 0x0A, 0x1B, 0x2C}));
    EXPECT_EQ(longAnswer.data, via249.data);
}

TEST_F(SimReadCommands, ConfiguredIdentityShowsInTheAnswer)
{
    setup().state.identity.deviceId = 0x123456;
    setup().state.identity.hardwareRev = 3;
    setup().state.identity.deviceRev = 7;
    const Answer answer = exchange(simtest::ShortRequest(249));
    ASSERT_EQ(answer.data.size(), 12u);
    EXPECT_EQ(answer.data[5], 7);
    EXPECT_EQ(answer.data[7], 3 << 3);
    EXPECT_EQ(UnsignedAt(answer.data, 9, 3), 0x123456u);
}

TEST_F(SimReadCommands, ProcessValuesOfCommand3)
{
    const Answer answer = command(3);
    ASSERT_EQ(answer.responseCode, 0);
    ASSERT_EQ(answer.data.size(), 24u);
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 0), 8.0f);  // 25 °C in 0–100 °C: 4 + 16 × 0.25
    EXPECT_EQ(answer.data[4], 32);                   // PV: °C
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 5), 25.0f);
    EXPECT_EQ(answer.data[9], 32);  // SV: electronics, °C
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 10), 31.5f);
    EXPECT_EQ(answer.data[14], 32);  // TV: sensor temperature
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 15), 25.0f);
    EXPECT_EQ(answer.data[19], 37);  // QV: sensor resistance, ohm
    // Pt100 at 25 °C by IEC 60751.
    EXPECT_NEAR(FloatAt(answer.data, 20), 109.73f, 0.005f);
    EXPECT_EQ(answer.deviceStatus, 0x20);  // cold start: the first answer
}

TEST_F(SimReadCommands, DeviceVariablesOfCommand33AsTheProgramAsks)
{
    // Request: 01 02 FA FA (variables 1 and 2, then two unused slots).
    const Answer answer = command(33, {0x01, 0x02, 0xFA, 0xFA});
    ASSERT_EQ(answer.responseCode, 0);
    ASSERT_EQ(answer.data.size(), 24u);
    EXPECT_EQ(answer.data[0], 1);   // code
    EXPECT_EQ(answer.data[1], 32);  // °C
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 2), 31.5f);
    EXPECT_EQ(answer.data[6], 2);
    EXPECT_EQ(answer.data[7], 32);
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 8), 25.0f);
    for (std::size_t slot : {12u, 18u}) {
        EXPECT_EQ(answer.data[slot], 250);
        EXPECT_EQ(answer.data[slot + 1], 250);  // units "not used"
        EXPECT_EQ(BitsAt(answer.data, slot + 2), kNotANumberBits);
    }
}

TEST_F(SimReadCommands, Command33RefusesUnknownVariablesAndEmptyRequests)
{
    EXPECT_EQ(command(33, {0x01, 0x09}).responseCode, 2);
    EXPECT_EQ(command(33, {}).responseCode, 5);
    // The sensor temperature follows its own units setting.
    setup().state.config.sensorTempUnits = 35;
    const Answer kelvin = command(33, {0x02});
    EXPECT_EQ(kelvin.data[1], 35);
    EXPECT_FLOAT_EQ(FloatAt(kelvin.data, 2), 298.15f);
}

TEST_F(SimReadCommands, TagDescriptorAndDateOfCommand13)
{
    const Answer answer = command(13);
    ASSERT_EQ(answer.data.size(), 21u);
    EXPECT_EQ(simtest::Unpack(answer.data, 0, 8), "TT-101  ");
    EXPECT_EQ(simtest::Unpack(answer.data, 6, 16), "TARVEL-4410     ");
    EXPECT_EQ(answer.data[18], 15);   // day
    EXPECT_EQ(answer.data[19], 3);    // month
    EXPECT_EQ(answer.data[20], 124);  // year − 1900
}

TEST_F(SimReadCommands, SensorInformationOfCommand14FollowsTheRangeUnits)
{
    struct Case {
        std::uint8_t units;
        float upper;
        float lower;
        float minimumSpan;
    };
    // PT100: −200…850 °C; computed as the program does, in single precision.
    const Case cases[] = {
        {32, 850.0f, -200.0f, 10.0f},
        {33, 1562.0f, -328.0f, 18.0f},
        {35, 1123.15f, 73.149994f, 10.0f},
        {37, 390.4811f, 18.52f, 10.0f * (390.4811f - 18.52f) / 1050.0f},
    };
    for (const Case& c : cases) {
        setup().state.config.rangeUnits = c.units;
        const Answer answer = command(14);
        ASSERT_EQ(answer.data.size(), 16u);
        EXPECT_EQ(UnsignedAt(answer.data, 0, 3), 100245u);
        EXPECT_EQ(answer.data[3], c.units);
        EXPECT_FLOAT_EQ(FloatAt(answer.data, 4), c.upper) << int(c.units);
        EXPECT_FLOAT_EQ(FloatAt(answer.data, 8), c.lower) << int(c.units);
        EXPECT_NEAR(FloatAt(answer.data, 12), c.minimumSpan, 1e-3) << int(c.units);
    }
}

TEST_F(SimReadCommands, OutputInformationOfCommand15)
{
    const Answer answer = command(15);
    ASSERT_EQ(answer.data.size(), 17u);
    EXPECT_EQ(answer.data[0], 0);   // alarm high
    EXPECT_EQ(answer.data[1], 0);   // linear
    EXPECT_EQ(answer.data[2], 32);  // °C
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 3), 100.0f);
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 7), 0.0f);
    EXPECT_FLOAT_EQ(FloatAt(answer.data, 11), 1.0f);
    EXPECT_EQ(answer.data[15], 0);    // not write protected
    EXPECT_EQ(answer.data[16], 153);  // private label distributor
}

TEST_F(SimReadCommands, SmallReads)
{
    EXPECT_EQ(command(16).data, (Bytes{0x06, 0xBA, 0xA9}));  // final assembly number 441001
    EXPECT_EQ(command(48).data, (Bytes{0, 0, 0, 0, 0}));     // additional status
    EXPECT_EQ(command(140, {0x00}).data, (Bytes{0x00, 0x01, 0x03}));  // echo, PT100, 3-wire
    EXPECT_EQ(command(140, {0x01}).responseCode, 9);                  // no sensor 1
    EXPECT_EQ(command(150).data, (Bytes{0x01}));                      // 50 Hz
    const Answer levels = command(189);
    ASSERT_EQ(levels.data.size(), 16u);
    EXPECT_FLOAT_EQ(FloatAt(levels.data, 0), 21.0f);  // high alarm
    EXPECT_FLOAT_EQ(FloatAt(levels.data, 4), 3.5f);   // low alarm
    EXPECT_FLOAT_EQ(FloatAt(levels.data, 8), 20.5f);  // high saturation
    EXPECT_FLOAT_EQ(FloatAt(levels.data, 12), 3.7f);  // low saturation
}

TEST_F(SimReadCommands, ThermometerRegistersOfCommand139)
{
    struct Case {
        std::uint8_t reg;
        Bytes data;
    };
    const Case cases[] = {
        {108, {0x01, 0x01, 0x00, 0x00}},  // armature A01
        {76, {0x03, 0x00, 0x00, 0x00}},   // head C1
        {74, {0x01, 0x00, 0x00, 0x00}},   // cable entry
        {75, {0x01, 0x00, 0x00, 0x00}},   // general purpose
        {110, {0x00, 0x78, 0x00, 0x00}},  // 120 mm
        {77, {0x14, 0x02, 0x18, 0x00}},   // 20.02.2024
        {194, {0x00, 0x04, 0xD2, 0x00}},  // serial 1234
    };
    for (const Case& c : cases) {
        // Request: 01 read | 00 | register | four bytes the program carries over from before.
        const Answer answer = command(139, {0x01, 0x00, c.reg, 0xAA, 0xBB, 0xCC, 0xDD});
        ASSERT_EQ(answer.responseCode, 0) << int(c.reg);
        EXPECT_EQ(answer.data, simtest::Concat({{0x01, 0x00, c.reg}, c.data})) << int(c.reg);
    }
    EXPECT_EQ(command(139, {0x01, 0x00, 99, 0, 0, 0, 0}).responseCode, 2);  // unknown register
    EXPECT_EQ(command(139, {0x02, 0x00, 108, 0, 0, 0, 0}).responseCode,
              2);  // writing is not offered
    EXPECT_EQ(command(139, {0x01, 0x00, 108}).responseCode, 5);
}

TEST_F(SimReadCommands, UnknownCommandIsNotImplemented)
{
    const Answer answer = command(99);
    EXPECT_EQ(answer.responseCode, 64);
    EXPECT_TRUE(answer.data.empty());
}

}  // namespace
