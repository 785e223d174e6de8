#include <cstring>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "serial/uucp_lock.h"

namespace {

std::string BinaryPid(int pid)
{
    std::string bytes(sizeof pid, '\0');
    std::memcpy(bytes.data(), &pid, sizeof pid);
    return bytes;
}

struct LockContentCase {
    const char* name;
    std::string content;
    std::optional<long> pid;
};

class UucpLockPidTest : public testing::TestWithParam<LockContentCase> {};

TEST_P(UucpLockPidTest, Parses)
{
    EXPECT_EQ(serial::ParseUucpLockPid(GetParam().content), GetParam().pid);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, UucpLockPidTest,
    testing::Values(
        LockContentCase{"HdbPadded", "      4242\n", 4242},  // ten columns and a line end
        LockContentCase{"BareDigits", "77", 77},
        LockContentCase{"Binary", BinaryPid(123456), 123456},
        LockContentCase{"BinaryWithDigitBytes", BinaryPid(0x3231), 0x3231},  // '1' '2' 0 0
        LockContentCase{"FourDigitText", "1234", 1234}, LockContentCase{"Empty", "", std::nullopt},
        LockContentCase{"Blank", "   \n", std::nullopt},
        LockContentCase{"Text", "pid=12\n", std::nullopt},
        LockContentCase{"Negative", "-5\n", std::nullopt},
        LockContentCase{"Zero", "0\n", std::nullopt},
        LockContentCase{"BinaryZero", BinaryPid(0), std::nullopt},
        LockContentCase{"BinaryNegative", BinaryPid(-1), std::nullopt},
        LockContentCase{"TooLongNumber", "99999999999999999999999\n", std::nullopt}),
    [](const testing::TestParamInfo<LockContentCase>& info) { return info.param.name; });

}  // namespace
