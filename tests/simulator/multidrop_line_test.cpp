// A multidrop line of simulated transmitters driven with raw frames built here, as any HART
// master would send them: short frames by polling address, long frames by long address.

#include <gtest/gtest.h>

#include "simulator/multidrop_setup.h"
#include "simulator/pty_client.h"
#include "simulator/simulator_host.h"

namespace {

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::LongRequest;
using simtest::ShortRequest;
using simtest::SplitAnswers;

using Address = std::array<std::uint8_t, 5>;

// The default device id 0A1B2C plus the device's place on the line.
Address LongAddressOf(int place)
{
    return {0x19, 0xFC, 0x0A, 0x1B, static_cast<std::uint8_t>(0x2C + place)};
}

class MultidropLine : public testing::Test {
protected:
    MultidropLine() : host(sim::MultidropSetups({}, 3))
    {
        const auto endpoint = host.start();
        if (!endpoint) throw std::runtime_error(host.error());
        client = std::make_unique<simtest::PtyClient>(endpoint->device);
    }

    // The answers to one request; none arrive when nobody is addressed.
    std::vector<simtest::Answer> Ask(const Bytes& request)
    {
        client->send(request);
        return SplitAnswers(client->receive(1, 300ms));
    }

    // No request so far had answers from two devices at once.
    void ExpectOneAnswerAtMost()
    {
        const auto first = host.requests(0);
        for (std::size_t i = 0; i < first.size(); ++i) {
            int answering = 0;
            for (std::size_t device = 0; device < host.deviceCount(); ++device)
                if (!host.requests(device)[i].answerFrames.empty()) ++answering;
            EXPECT_LE(answering, 1) << "request " << i << ", command " << int{first[i].command};
        }
    }

    simtest::TempPortMap ports;
    sim::SimulatorHost host;
    std::unique_ptr<simtest::PtyClient> client;
};

TEST_F(MultidropLine, ShortFrameCommandZeroFindsEachDeviceAtItsOwnAddressOnly)
{
    for (std::uint8_t address = 0; address <= 15; ++address) {
        SCOPED_TRACE(int{address});
        const auto answers = Ask(ShortRequest(0, address));
        if (address < 1 || address > 3) {
            EXPECT_TRUE(answers.empty());
            continue;
        }
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].address, Bytes{address});
        EXPECT_EQ(answers[0].command, 0);
        EXPECT_TRUE(answers[0].checksumOk);
        ASSERT_GE(answers[0].data.size(), 12u);
        EXPECT_EQ(simtest::UnsignedAt(answers[0].data, 9, 3), 0x0A1B2Bu + address);
    }
    ExpectOneAnswerAtMost();
}

TEST_F(MultidropLine, LongFramesReachEachDeviceByItsLongAddress)
{
    const struct {
        Address address;
        const char* tag;  // nullptr: nobody has the address
    } cases[] = {
        {LongAddressOf(0), "TT-1    "},
        {LongAddressOf(1), "TT-2    "},
        {LongAddressOf(2), "TT-3    "},
        {LongAddressOf(3), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.address[4]});
        const auto answers = Ask(LongRequest(13, {}, c.address));
        if (c.tag == nullptr) {
            EXPECT_TRUE(answers.empty());
            continue;
        }
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].address, Bytes(c.address.begin(), c.address.end()));
        EXPECT_EQ(simtest::Unpack(answers[0].data, 0, 8), c.tag);
    }
    ExpectOneAnswerAtMost();
}

// Command 6 moves a device, but never onto an address another device holds; command 11 with
// a tag at the broadcast address is answered by the device that has the tag.
TEST_F(MultidropLine, DevicesMoveToFreeAddressesAndAnswerToTheirTags)
{
    const struct {
        Bytes request;
        std::uint8_t command;
        std::uint8_t responseCode;
        Bytes answerAddress;
    } steps[] = {
        {LongRequest(6, {2}, LongAddressOf(0)), 6, 2, {0x19, 0xFC, 0x0A, 0x1B, 0x2C}},
        {LongRequest(6, {9}, LongAddressOf(0)), 6, 0, {0x19, 0xFC, 0x0A, 0x1B, 0x2C}},
        {ShortRequest(0, 9), 0, 0, {0x09}},
        {LongRequest(6, {1}, LongAddressOf(2)), 6, 0, {0x19, 0xFC, 0x0A, 0x1B, 0x2E}},
        {ShortRequest(0, 1), 0, 0, {0x01}},
        {LongRequest(11, simtest::Pack("TT-2", 8), {0, 0, 0, 0, 0}),
         11,
         0,
         {0x19, 0xFC, 0x0A, 0x1B, 0x2D}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(int{step.command});
        const auto answers = Ask(step.request);
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0].command, step.command);
        EXPECT_EQ(answers[0].responseCode, step.responseCode);
        EXPECT_EQ(answers[0].address, step.answerAddress);
    }
    // Device 1 is now at 9 and device 3 at 1: the identification tells them apart.
    EXPECT_EQ(
        host.withDevice(0, [](sim::Device& d) { return int{d.state().identity.pollAddress}; }), 9);
    EXPECT_EQ(
        host.withDevice(2, [](sim::Device& d) { return int{d.state().identity.pollAddress}; }), 1);
    EXPECT_TRUE(Ask(ShortRequest(0, 3)).empty());
    ExpectOneAnswerAtMost();
}

}  // namespace
