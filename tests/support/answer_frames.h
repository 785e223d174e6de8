#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Answer frames as a transmitter sends them, without preambles, for scripting the fake
// driver. Built here by hand so the program's codec is checked against independent bytes.
namespace answers {

using Bytes = std::vector<std::uint8_t>;

inline std::uint8_t Xor(const Bytes& bytes)
{
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes) sum ^= b;
    return sum;
}

// 0x86 | address (master bit set) | command | count | response code | device status | data |
// checksum
inline Bytes LongAnswer(std::uint8_t command, std::uint8_t response, std::uint8_t status,
                        const Bytes& data, std::uint8_t delimiter = 0x86,
                        Bytes address = {0x99, 0xFC, 0x0A, 0x1B, 0x2C})
{
    Bytes frame;
    frame.reserve(address.size() + data.size() + 7);
    frame.push_back(delimiter);
    for (std::uint8_t b : address) frame.push_back(b);
    frame.push_back(command);
    frame.push_back(static_cast<std::uint8_t>(data.size() + 2));
    frame.push_back(response);
    frame.push_back(status);
    for (std::uint8_t b : data) frame.push_back(b);
    frame.push_back(Xor(frame));
    return frame;
}

inline Bytes LongAnswer(std::uint8_t command, std::uint8_t response, std::uint8_t status,
                        std::initializer_list<std::uint8_t> data, std::uint8_t delimiter = 0x86,
                        Bytes address = {0x99, 0xFC, 0x0A, 0x1B, 0x2C})
{
    return LongAnswer(command, response, status, Bytes(data), delimiter, std::move(address));
}

// 0x06 | 0x80 (poll address 0, master bit) | command | count | response | status | data | checksum
inline Bytes ShortAnswer(std::uint8_t command, std::uint8_t response, std::uint8_t status,
                         std::initializer_list<std::uint8_t> data)
{
    Bytes frame{0x06, 0x80, command, static_cast<std::uint8_t>(data.size() + 2), response, status};
    for (std::uint8_t b : data) frame.push_back(b);
    frame.push_back(Xor(frame));
    return frame;
}

// Identification data of command 249: 254, manufacturer, device type, preambles,
// universal, device, software and hardware revisions, flags, device id (3 bytes).
inline Bytes IdentityAnswer(std::uint8_t manufacturer = 153, std::uint8_t deviceType = 252,
                            std::uint8_t response = 0)
{
    return ShortAnswer(249, response, 0,
                       {254, manufacturer, deviceType, 5, 5, 2, 3, 0x21, 0x00, 0x0A, 0x1B, 0x2C});
}

}  // namespace answers
