#include <optional>

#include <gtest/gtest.h>

#include "hart/command_table.h"
#include "hart/response_messages.h"

using namespace hart;

namespace {

struct Case {
    int result;
    int index;
    std::optional<int> message;
};

}  // namespace

TEST(ResponseMessages, WholeTable)
{
    const Case cases[] = {
        {2, CMD_WRITE_TAG, 1000},
        {3, CMD_WRITE_DAMPING, 1001},
        {3, CMD_TRIM_LOOP_ZERO, std::nullopt},
        {3, CMD_TRIM_LOOP_GAIN, std::nullopt},
        {4, CMD_FIXED_CURRENT, 1002},
        {4, CMD_TRIM_LOOP_ZERO, std::nullopt},
        {4, CMD_TRIM_LOOP_GAIN, std::nullopt},
        {5, CMD_READ_TAG, 1003},
        {7, CMD_WRITE_RANGE, 1004},
        {8, CMD_WRITE_DAMPING, 1005},
        {8, CMD_WRITE_SENSOR_CONFIG, std::nullopt},
        {8, CMD_READ_RANGE, 1007},
        {9, CMD_WRITE_RANGE, 1008},
        {9, CMD_TRIM_LOOP_ZERO, 1027},
        {9, CMD_TRIM_LOOP_GAIN, 1027},
        {9, CMD_TRIM_SENSOR_UPPER, 1028},
        {9, CMD_TRIM_SENSOR_LOWER, 1028},
        {9, CMD_READ_SENSOR_CONFIG, 1009},
        {10, CMD_WRITE_RANGE, 1011},
        {10, CMD_TRIM_SENSOR_UPPER, 1029},
        {10, CMD_TRIM_SENSOR_LOWER, 1029},
        {10, CMD_WRITE_ALARM_LEVELS, 1010},
        {10, CMD_WRITE_DAMPING, 1024},
        {11, CMD_WRITE_RANGE, 1012},
        {11, CMD_FIXED_CURRENT, 1026},
        {11, CMD_TRIM_LOOP_ZERO, 1026},
        {11, CMD_TRIM_LOOP_GAIN, 1026},
        {11, CMD_WRITE_SENSOR_CONFIG, 1014},
        {11, CMD_WRITE_ALARM_LEVELS, 1013},
        {11, CMD_READ_TAG, 1024},
        {12, CMD_WRITE_RANGE, 1017},
        {12, CMD_TRIM_SENSOR_UPPER, 1030},
        {12, CMD_TRIM_SENSOR_LOWER, 1030},
        {12, CMD_READ_CALIBRATION, 1030},
        {12, CMD_WRITE_SENSOR_CONFIG, 1015},
        {12, CMD_WRITE_CALIBRATION_MODE, 1031},
        {12, CMD_WRITE_ALARM_LEVELS, 1016},
        {12, CMD_FIXED_CURRENT, 1024},
        {13, CMD_WRITE_RANGE, 1018},
        {13, CMD_TRIM_SENSOR_UPPER, 1032},
        {13, CMD_TRIM_SENSOR_LOWER, 1032},
        {13, CMD_WRITE_ALARM_LEVELS, 1019},
        {13, CMD_READ_CALIBRATION, 1024},
        {14, CMD_WRITE_RANGE, 1020},
        {14, CMD_READ_TAG, 1020},
        {16, CMD_WRITE_TAG, 1021},
        {32, CMD_READ_RANGE, 1022},
        {64, CMD_WRITE_PROTECT, 1023},
        {255, CMD_IDENTIFY, 906},
        {255, CMD_TRIM_LOOP_ZERO, 906},
        {128, CMD_READ_RANGE, 1025},
        {192, CMD_READ_RANGE, 1025},
        {200, CMD_WRITE_DAMPING, 1025},
        {254, CMD_READ_TAG, 1025},
        {0, CMD_READ_TAG, 1024},
        {1, CMD_READ_TAG, 1024},
        {6, CMD_READ_TAG, 1024},
        {15, CMD_READ_TAG, 1024},
        {17, CMD_READ_TAG, 1024},
        {31, CMD_READ_TAG, 1024},
        {33, CMD_READ_TAG, 1024},
        {63, CMD_READ_TAG, 1024},
        {65, CMD_READ_TAG, 1024},
        {127, CMD_READ_TAG, 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "result " << c.result << " index " << c.index);
        EXPECT_EQ(ResponseMessageId(c.index, c.result), c.message);
    }
}
