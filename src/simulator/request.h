#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// One request frame as it came off the line.
struct Request {
    bool longFrame = false;
    // Short frame: address[0] is the polling address byte; long frame: all five bytes.
    std::array<std::uint8_t, 5> address{};
    std::uint8_t command = 0;
    std::vector<std::uint8_t> data;
    bool checksumOk = false;
    // Bytes on the line for this frame, preambles included (for wire timing).
    std::size_t lineBytes = 0;
    // The frame as it came, from its delimiter to its checksum.
    std::vector<std::uint8_t> frame;
};

}  // namespace sim
