#include "hart/command_table.h"

#include "hart/field_type.h"

namespace hart {
namespace {

constexpr std::uint8_t kNone[] = {0};  // placeholder storage for empty layouts

constexpr std::uint8_t kIdentity[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
constexpr std::uint8_t kLoopCurrent[] = {3, 0, 3, 0, 3, 0, 3, 0, 3};
constexpr std::uint8_t kTagBlock[] = {4, 5, 0, 0, 0};
constexpr std::uint8_t kSensorLimits[] = {7, 0, 3, 3, 3};
constexpr std::uint8_t kRangeInfo[] = {0, 0, 0, 3, 3, 3, 0, 0};
constexpr std::uint8_t kInt24[] = {7};
constexpr std::uint8_t kFourBytes[] = {0, 0, 0, 0};
constexpr std::uint8_t kVariables[] = {0, 0, 3, 0, 0, 3, 0, 0, 3, 0, 0, 3};
constexpr std::uint8_t kFloat[] = {3};
constexpr std::uint8_t kRange[] = {0, 3, 3};
constexpr std::uint8_t kByte[] = {0};
constexpr std::uint8_t kStatus48[] = {0, 0, 0, 0, 0};
constexpr std::uint8_t kTrimPoint[] = {0, 3};
constexpr std::uint8_t kRegister[] = {0, 0, 0, 0, 0, 0, 0};
constexpr std::uint8_t kThreeBytes[] = {0, 0, 0};
constexpr std::uint8_t kTwoBytes[] = {0, 0};
constexpr std::uint8_t kCalibrationInfo[] = {0, 0, 0, 3, 3, 3, 3};
constexpr std::uint8_t kFourFloats[] = {3, 3, 3, 3};
constexpr std::uint8_t kProtect[] = {7, 0};

constexpr std::span<const std::uint8_t> kEmpty{kNone, 0};

constexpr CommandEntry Entry(std::uint8_t command, std::span<const std::uint8_t> request,
                             std::span<const std::uint8_t> response)
{
    return CommandEntry{command, request, response};
}

const std::array<CommandEntry, kCommandCount> kTable = {{
    Entry(0, kEmpty, kIdentity),
    Entry(3, kEmpty, kLoopCurrent),
    Entry(13, kEmpty, kTagBlock),
    Entry(14, kEmpty, kSensorLimits),
    Entry(15, kEmpty, kRangeInfo),
    Entry(16, kEmpty, kInt24),
    Entry(18, kTagBlock, kTagBlock),
    Entry(33, kFourBytes, kVariables),
    Entry(34, kFloat, kFloat),
    Entry(35, kRange, kRange),
    Entry(40, kFloat, kFloat),
    Entry(42, kEmpty, kEmpty),
    Entry(44, kByte, kByte),
    Entry(45, kFloat, kFloat),
    Entry(46, kFloat, kFloat),
    Entry(48, kEmpty, kStatus48),
    Entry(130, kTrimPoint, kTrimPoint),
    Entry(131, kTrimPoint, kTrimPoint),
    Entry(139, kRegister, kRegister),
    Entry(140, kByte, kThreeBytes),
    Entry(141, kThreeBytes, kThreeBytes),
    Entry(142, kTwoBytes, kCalibrationInfo),
    Entry(145, kTwoBytes, kTwoBytes),
    Entry(150, kEmpty, kByte),
    Entry(151, kByte, kByte),
    Entry(155, kFourFloats, kFourFloats),
    Entry(162, kByte, kByte),
    Entry(189, kEmpty, kFourFloats),
    Entry(195, kProtect, kProtect),
    Entry(249, kEmpty, kIdentity),
}};

}  // namespace

const std::array<CommandEntry, kCommandCount>& CommandTable() { return kTable; }

int RequestDataLength(std::span<const std::uint8_t> layout)
{
    int length = 0;
    for (std::uint8_t code : layout) length += FieldWidth(code);
    return length;
}

}  // namespace hart
