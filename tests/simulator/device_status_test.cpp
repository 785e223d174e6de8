// Who gets an answer and what its status byte says: the master bit, multidrop, and the status
// bits over their life cycles.

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::Answer;
using simtest::Bytes;
using simtest::Float;
using simtest::FloatAt;
using simtest::LongRequest;
using simtest::ShortRequest;

constexpr std::uint8_t kMalfunction = 0x80;
constexpr std::uint8_t kConfigurationChanged = 0x40;
constexpr std::uint8_t kColdStart = 0x20;
constexpr std::uint8_t kMoreStatus = 0x10;
constexpr std::uint8_t kCurrentFixed = 0x08;

constexpr std::array<std::uint8_t, 5> kPrimary{0x99, 0xFC, 0x0A, 0x1B, 0x2C};
constexpr std::array<std::uint8_t, 5> kSecondary{0x19, 0xFC, 0x0A, 0x1B, 0x2C};

class SimDeviceStatus : public simtest::DeviceTest {};

TEST_F(SimDeviceStatus, AnswersCarryTheMasterBitOfTheirRequest)
{
    struct Case {
        const char* name;
        Bytes request;
        std::uint8_t firstAddressByte;
    };
    const Case cases[] = {
        {"long, primary", LongRequest(13, {}, kPrimary), 0x99},
        {"long, secondary", LongRequest(13, {}, kSecondary), 0x19},
        {"long, primary with burst bit", LongRequest(13, {}, {0xD9, 0xFC, 0x0A, 0x1B, 0x2C}), 0x99},
        {"short, primary", ShortRequest(0, 0x80), 0x80},
        {"short, secondary", ShortRequest(0, 0x00), 0x00},
    };
    for (const Case& c : cases) {
        const Answer answer = exchange(c.request);
        ASSERT_FALSE(answer.address.empty()) << c.name;
        EXPECT_EQ(answer.address[0], c.firstAddressByte) << c.name;
        EXPECT_TRUE(answer.checksumOk) << c.name;
    }
}

TEST_F(SimDeviceStatus, ColdStartInTheFirstAnswerToEachMaster)
{
    EXPECT_EQ(exchange(LongRequest(13, {}, kSecondary)).deviceStatus, kColdStart);
    EXPECT_EQ(exchange(LongRequest(13, {}, kSecondary)).deviceStatus, 0);
    EXPECT_EQ(exchange(LongRequest(13, {}, kPrimary)).deviceStatus, kColdStart);
    EXPECT_EQ(exchange(LongRequest(13, {}, kPrimary)).deviceStatus, 0);
    // A reset is a new start for both.
    exchange(LongRequest(42, {}, kPrimary));
    EXPECT_EQ(exchange(LongRequest(13, {}, kPrimary)).deviceStatus, kColdStart);
    EXPECT_EQ(exchange(LongRequest(13, {}, kSecondary)).deviceStatus, kColdStart);
}

TEST_F(SimDeviceStatus, ConfigurationChangedFromAnAcceptedWriteUntilCommand38)
{
    command(13);  // the cold start goes with the first answer
    struct Step {
        const char* name;
        std::uint8_t command;
        Bytes data;
        std::uint8_t status;
    };
    const Step steps[] = {
        {"refused write", 34, {0x40}, 0},
        {"read", 15, {}, 0},
        {"accepted write", 34, Float(2.0f), kConfigurationChanged},
        {"read after it", 15, {}, kConfigurationChanged},
        {"fixed current is not configuration", 40, Float(0.0f), kConfigurationChanged},
        {"reset of the flag", 38, {}, 0},
        {"read after the reset", 15, {}, 0},
        {"polling address", 6, {0}, kConfigurationChanged},
    };
    for (const Step& s : steps)
        EXPECT_EQ(command(s.command, s.data).deviceStatus, s.status) << s.name;
    EXPECT_EQ(command(38).data, Bytes{});
}

TEST_F(SimDeviceStatus, MoreStatusAvailableWhileCommand48HoldsUnreadChanges)
{
    command(13);
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, 0);
    setup().faults.sensorFailure = sim::SensorFailure::Open;
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, kMoreStatus);
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, kMoreStatus);
    EXPECT_EQ(command(48).deviceStatus & kMoreStatus, 0);  // read now
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, 0);
    // The sensor recovers: the bytes change again.
    setup().faults.sensorFailure = sim::SensorFailure::None;
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, kMoreStatus);
    EXPECT_EQ(command(48).data, Bytes(5, 0));
    EXPECT_EQ(command(13).deviceStatus & kMoreStatus, 0);
}

TEST_F(SimDeviceStatus, TransmitterFailureWithoutSensorFault)
{
    setup().faults.transmitterFailure = true;
    const Answer values = command(3);
    EXPECT_EQ(values.deviceStatus & kMalfunction, kMalfunction);
    EXPECT_FLOAT_EQ(FloatAt(values.data, 0), 21.0f);  // high alarm
    const Answer status = command(48);
    EXPECT_EQ(status.deviceStatus & kMalfunction, kMalfunction);
    EXPECT_EQ(status.data[4] & 0x03, 0);  // no sensor fault bits
    EXPECT_NE(status.data[0], 0);
}

TEST_F(SimDeviceStatus, MultidropAnswersItsPollingAddressAndParksTheCurrent)
{
    setup().state.identity.pollAddress = 5;
    setup().process.value = 75.0f;
    struct Case {
        const char* name;
        Bytes request;
        bool answered;
    };
    const Case cases[] = {
        {"0 at its address", ShortRequest(0, 5), true},
        {"0 at its address, primary", ShortRequest(0, 0x85), true},
        {"249 at its address", ShortRequest(249, 5), true},
        {"0 at address 0", ShortRequest(0, 0), false},
        {"0 at address 6", ShortRequest(0, 6), false},
    };
    for (const Case& c : cases) EXPECT_EQ(!raw(c.request).empty(), c.answered) << c.name;

    const Answer current = command(2);
    EXPECT_FLOAT_EQ(FloatAt(current.data, 0), 4.0f);
    EXPECT_FLOAT_EQ(FloatAt(current.data, 4), 75.0f);  // the percent still follows the PV
    EXPECT_EQ(current.deviceStatus & kCurrentFixed, kCurrentFixed);
    EXPECT_FLOAT_EQ(FloatAt(command(3).data, 0), 4.0f);
    EXPECT_EQ(command(40, Float(12.0f)).responseCode, 11);

    // Back to address 0: the loop current is live again.
    ASSERT_EQ(command(6, {0}).responseCode, 0);
    EXPECT_FLOAT_EQ(FloatAt(command(2).data, 0), 16.0f);
    EXPECT_EQ(command(3).deviceStatus & kCurrentFixed, 0);
}

}  // namespace
