#pragma once

#include <array>
#include <cstdint>

#include "hart/field_ref.h"

namespace hart {

constexpr int kFrameCapacity = 284;
constexpr int kLongAddressLength = 5;
constexpr int kPreambleLength = 6;
constexpr std::uint8_t kPreamble = 0xFF;

using FrameBuffer = std::array<std::uint8_t, kFrameCapacity>;
using LongAddress = std::array<std::uint8_t, kLongAddressLength>;

// Codec state of one transmitter link: the address, the frame buffers and whether the
// last request went out as a short frame. Nothing is allocated per frame.
struct FrameCodec {
    FrameBuffer txFrame{};
    FrameBuffer rxFrame{};
    int txLength = 0;
    int rxLength = 0;
    LongAddress longAddress{};
    // Where a short frame goes: 0 for a point-to-point loop, 1–15 in a multidrop loop.
    std::uint8_t pollingAddress = 0;
    bool shortFrame = false;

    // Builds the request for a command index into dest; returns the frame length.
    int BuildRequest(int commandIndex, std::uint8_t* dest, FieldRefs values);

    // Decodes the last valid answer (rxFrame, rxLength) into the references; commands 0
    // and 249 also capture the long address.
    void DecodeResponse(int commandIndex, FieldRefs destinations);
};

}  // namespace hart
