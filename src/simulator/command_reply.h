#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// HART response codes the device answers with.
namespace response {
constexpr std::uint8_t kSuccess = 0;
constexpr std::uint8_t kInvalidSelection = 2;
constexpr std::uint8_t kTooLarge = 3;
constexpr std::uint8_t kTooSmall = 4;
constexpr std::uint8_t kTooFewDataBytes = 5;
constexpr std::uint8_t kWriteProtected = 7;
constexpr std::uint8_t kWarning = 8;
// Commands that address the sensor by number (140, 141, 142, 145): this device has sensor 0 only.
constexpr std::uint8_t kInvalidSensorNumber = 9;
constexpr std::uint8_t kBusy = 32;
constexpr std::uint8_t kNotImplemented = 64;
}  // namespace response

// What a command handler answers: a response code and, on success or warning, the data.
struct CommandReply {
    std::uint8_t responseCode = response::kSuccess;
    std::vector<std::uint8_t> data;
    // The device resets itself once the answer is on its way (command 42).
    bool restartAfterAnswer = false;

    static CommandReply success(std::vector<std::uint8_t> data);
    static CommandReply warning(std::vector<std::uint8_t> data);
    // Errors carry no data.
    static CommandReply error(std::uint8_t responseCode);
    bool carriesData() const;
};

}  // namespace sim
