#pragma once

#include <cstdint>

namespace hart {

// A transaction's result: the answer's response code, or the first status byte when that
// reports a communication error, or the link's own codes below.
constexpr int RESULT_WARNING = 8;
constexpr int RESULT_BUSY = 32;
constexpr int RESULT_BAD_CHECKSUM = 192;
constexpr int RESULT_NO_ANSWER = 255;

// Set in the first status byte when the rest of it reports a communication error.
constexpr std::uint8_t kCommunicationErrorBit = 0x80;

// Success for most callers: a valid answer with response code 0 or the warning 8.
constexpr bool Succeeded(int result) { return result == 0 || result == RESULT_WARNING; }

}  // namespace hart
