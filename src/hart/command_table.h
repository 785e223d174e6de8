#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace hart {

struct CommandEntry {
    std::uint8_t command;
    std::span<const std::uint8_t> request;   // field types after the byte count
    std::span<const std::uint8_t> response;  // field types after the two status bytes
};

constexpr int kCommandCount = 30;

// Operations name a command by its index in the table, never by its number.
enum CommandIndex : int {
    CMD_READ_UNIQUE_ID = 0,           // 0
    CMD_READ_LOOP_CURRENT = 1,        // 3
    CMD_READ_TAG = 2,                 // 13
    CMD_READ_SENSOR_LIMITS = 3,       // 14
    CMD_READ_RANGE = 4,               // 15
    CMD_READ_ASSEMBLY_NUMBER = 5,     // 16
    CMD_WRITE_TAG = 6,                // 18
    CMD_READ_VARIABLES = 7,           // 33
    CMD_WRITE_DAMPING = 8,            // 34
    CMD_WRITE_RANGE = 9,              // 35
    CMD_FIXED_CURRENT = 10,           // 40
    CMD_RESET = 11,                   // 42
    CMD_WRITE_RANGE_UNITS = 12,       // 44
    CMD_TRIM_LOOP_ZERO = 13,          // 45
    CMD_TRIM_LOOP_GAIN = 14,          // 46
    CMD_READ_ADDITIONAL_STATUS = 15,  // 48
    CMD_TRIM_SENSOR_UPPER = 16,       // 130
    CMD_TRIM_SENSOR_LOWER = 17,       // 131
    CMD_REGISTER_ACCESS = 18,         // 139
    CMD_READ_SENSOR_CONFIG = 19,      // 140
    CMD_WRITE_SENSOR_CONFIG = 20,     // 141
    CMD_READ_CALIBRATION = 21,        // 142
    CMD_WRITE_CALIBRATION_MODE = 22,  // 145
    CMD_READ_LINE_FILTER = 23,        // 150
    CMD_WRITE_LINE_FILTER = 24,       // 151
    CMD_WRITE_ALARM_LEVELS = 25,      // 155
    CMD_WRITE_ALARM_SELECT = 26,      // 162
    CMD_READ_ALARM_LEVELS = 27,       // 189
    CMD_WRITE_PROTECT = 28,           // 195
    CMD_IDENTIFY = 29,                // 249
};

const std::array<CommandEntry, kCommandCount>& CommandTable();

// Sum of the wire widths of the layout's field types.
int RequestDataLength(std::span<const std::uint8_t> layout);

}  // namespace hart
