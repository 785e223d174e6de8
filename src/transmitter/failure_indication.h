#pragma once

#include <cstdint>

namespace transmitter {

// What the transmitter reports failed: the sensor (either low bit of additional status byte 4)
// or, with the sensor fine, the electronics (the device status byte's field device malfunction
// bit). The sensor indication wins.
struct FailureIndication {
    int sensor = 0;
    int xmtr = 0;
};

constexpr FailureIndication FailureFrom(std::uint8_t statusByte4, std::uint8_t deviceStatus)
{
    constexpr std::uint8_t kSensorFailureBits = 0x03;
    constexpr std::uint8_t kDeviceMalfunctionBit = 0x80;
    if ((statusByte4 & kSensorFailureBits) != 0) return {1, 0};
    return {0, (deviceStatus & kDeviceMalfunctionBit) != 0 ? 1 : 0};
}

}  // namespace transmitter
