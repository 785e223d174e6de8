#include "hart/response_messages.h"

#include <array>
#include <initializer_list>

#include "hart/command_table.h"
#include "hart/result_codes.h"
#include "resources/string_ids/hart.h"

namespace hart {
namespace {

struct Row {
    int result;
    std::initializer_list<int> indices;  // empty: any command
    std::optional<int> messageId;        // empty: no message at all
};

using tarvel::kCommunicationFailure;
using tarvel::kUndefinedResponse;

// First matching row wins; command-specific rows come before the row for any command.
const Row kRows[] = {
    {2, {}, 1000},
    {3, {CMD_TRIM_LOOP_ZERO, CMD_TRIM_LOOP_GAIN}, std::nullopt},
    {3, {}, 1001},
    {4, {CMD_TRIM_LOOP_ZERO, CMD_TRIM_LOOP_GAIN}, std::nullopt},
    {4, {}, 1002},
    {5, {}, 1003},
    {7, {}, 1004},
    {8, {CMD_WRITE_DAMPING}, 1005},
    {8, {CMD_WRITE_SENSOR_CONFIG}, std::nullopt},
    {8, {}, 1007},
    {9, {CMD_WRITE_RANGE}, 1008},
    {9, {CMD_TRIM_LOOP_ZERO, CMD_TRIM_LOOP_GAIN}, 1027},
    {9, {CMD_TRIM_SENSOR_UPPER, CMD_TRIM_SENSOR_LOWER}, 1028},
    {9, {}, 1009},
    {10, {CMD_WRITE_RANGE}, 1011},
    {10, {CMD_TRIM_SENSOR_UPPER, CMD_TRIM_SENSOR_LOWER}, 1029},
    {10, {CMD_WRITE_ALARM_LEVELS}, 1010},
    {11, {CMD_WRITE_RANGE}, 1012},
    {11, {CMD_FIXED_CURRENT, CMD_TRIM_LOOP_ZERO, CMD_TRIM_LOOP_GAIN}, 1026},
    {11, {CMD_WRITE_SENSOR_CONFIG}, 1014},
    {11, {CMD_WRITE_ALARM_LEVELS}, 1013},
    {12, {CMD_WRITE_RANGE}, 1017},
    {12, {CMD_TRIM_SENSOR_UPPER, CMD_TRIM_SENSOR_LOWER, CMD_READ_CALIBRATION}, 1030},
    {12, {CMD_WRITE_SENSOR_CONFIG}, 1015},
    {12, {CMD_WRITE_CALIBRATION_MODE}, 1031},
    {12, {CMD_WRITE_ALARM_LEVELS}, 1016},
    {13, {CMD_WRITE_RANGE}, 1018},
    {13, {CMD_TRIM_SENSOR_UPPER, CMD_TRIM_SENSOR_LOWER}, 1032},
    {13, {CMD_WRITE_ALARM_LEVELS}, 1019},
    {14, {}, 1020},
    {16, {}, 1021},
    {32, {}, 1022},
    {64, {}, 1023},
    {RESULT_NO_ANSWER, {}, 906},
};

bool Matches(const Row& row, int commandIndex, int result)
{
    if (row.result != result) return false;
    if (row.indices.size() == 0) return true;
    for (int index : row.indices)
        if (index == commandIndex) return true;
    return false;
}

}  // namespace

std::optional<int> ResponseMessageId(int commandIndex, int result)
{
    if ((result & kCommunicationErrorBit) != 0 && result != RESULT_NO_ANSWER)
        return kCommunicationFailure;
    for (const Row& row : kRows)
        if (Matches(row, commandIndex, result)) return row.messageId;
    return kUndefinedResponse;
}

}  // namespace hart
