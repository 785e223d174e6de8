#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hart/packed_ascii.h"
#include "support/answer_frames.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"
#include "transmitter/transmitter.h"

using answers::Bytes;

// Data bytes of a request or an answer, written field by field, most significant first.
class Payload {
public:
    Payload& u8(std::uint8_t value)
    {
        bytes.push_back(value);
        return *this;
    }
    Payload& u24(std::uint32_t value)
    {
        for (int shift : {16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        return *this;
    }
    Payload& f32(float value)
    {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
        return *this;
    }
    Payload& ascii(const char* text, int count)
    {
        // The packer is pinned by its own byte vectors in the codec tests.
        std::uint8_t packed[24] = {};
        int position = 0;
        hart::PackAscii(text, count, packed, position);
        bytes.insert(bytes.end(), packed, packed + position);
        return *this;
    }
    operator const Bytes&() const { return bytes; }

    Bytes bytes;
};

// An answer from the transmitter to a long-frame request.
inline Bytes Answer(std::uint8_t command, const Payload& data, std::uint8_t response = 0,
                    std::uint8_t status = 0)
{
    return answers::LongAnswer(command, response, status, data.bytes);
}

// A refusal: the response code and no data.
inline Bytes Refusal(std::uint8_t command, std::uint8_t response)
{
    return answers::LongAnswer(command, response, 0, Bytes{});
}

inline std::uint32_t BitsOf(float value) { return std::bit_cast<std::uint32_t>(value); }

// A CTransmitter on the scripted fake driver, waits counted instead of slept.
class TransmitterTest : public testing::Test {
protected:
    // Preambles, delimiter, 5 address bytes, command, byte count.
    static constexpr std::size_t kCommandOffset = 12;
    static constexpr std::size_t kRequestDataOffset = 14;

    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings settings{port.comNumber()};
    transmitter::CTransmitter xmtr{user, settings, sleeper};

    // Scripts the answers to the next requests, one answer per request.
    void script(const std::vector<Bytes>& replies)
    {
        for (const Bytes& reply : replies) fake.scriptWrite({reply});
    }

    // Command numbers of every request written so far (a retried request appears again).
    std::vector<int> sentCommands() const
    {
        std::vector<int> commands;
        for (const Bytes& frame : fake.writtenFrames())
            commands.push_back(frame.at(kCommandOffset));
        return commands;
    }

    // The data bytes of the n-th request written (checksum excluded).
    Bytes sentData(std::size_t n) const
    {
        const auto frames = fake.writtenFrames();
        if (n >= frames.size()) return {};
        const Bytes& frame = frames[n];
        return Bytes(frame.begin() + kRequestDataOffset, frame.end() - 1);
    }

    Bytes lastSentData() const { return sentData(fake.writtenFrames().size() - 1); }
};
