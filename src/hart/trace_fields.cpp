#include "hart/trace_fields.h"

#include <array>

#include "hart/command_table.h"

namespace hart {
// Named apart from the command table's layouts of the same commands.
namespace field_names {
namespace {

using S = FieldShow;

// Field names, string ids from 2240 on.
constexpr FieldName kIdentity[] = {
    {2240, S::Number}, {2241, S::Number}, {2242, S::Number}, {2243, S::Number}, {2244, S::Number},
    {2245, S::Number}, {2246, S::Number}, {2247, S::Number}, {2248, S::Hex},    {2249, S::Hex}};
constexpr FieldName kLoopCurrent[] = {{2250, S::Current}, {2251, S::Units}, {2252, S::Value},
                                      {2253, S::Units},   {2254, S::Value}, {2255, S::Units},
                                      {2256, S::Value},   {2257, S::Units}, {2258, S::Value}};
constexpr FieldName kTagBlock[] = {
    {2259, S::Text}, {2260, S::Text}, {2261, S::Number}, {2262, S::Number}, {2263, S::Number}};
constexpr FieldName kSensorLimits[] = {
    {2264, S::Number}, {2265, S::Units}, {2266, S::Value}, {2267, S::Value}, {2268, S::Value}};
constexpr FieldName kRangeInfo[] = {{2269, S::Number}, {2270, S::Number}, {2265, S::Units},
                                    {2271, S::Value},  {2272, S::Value},  {2273, S::Seconds},
                                    {2274, S::Number}, {2275, S::Number}};
constexpr FieldName kAssembly[] = {{2276, S::Number}};
constexpr FieldName kVariableCodes[] = {
    {2277, S::Number}, {2277, S::Number}, {2277, S::Number}, {2277, S::Number}};
constexpr FieldName kVariables[] = {{2277, S::Number}, {2265, S::Units}, {2278, S::Value},
                                    {2277, S::Number}, {2265, S::Units}, {2278, S::Value},
                                    {2277, S::Number}, {2265, S::Units}, {2278, S::Value},
                                    {2277, S::Number}, {2265, S::Units}, {2278, S::Value}};
constexpr FieldName kDamping[] = {{2273, S::Seconds}};
constexpr FieldName kRange[] = {{2265, S::Units}, {2271, S::Value}, {2272, S::Value}};
constexpr FieldName kFixedCurrent[] = {{2279, S::Current}};
constexpr FieldName kUnits[] = {{2265, S::Units}};
constexpr FieldName kMeasuredCurrent[] = {{2280, S::Current}};
constexpr FieldName kStatus48[] = {
    {2281, S::Hex}, {2281, S::Hex}, {2281, S::Hex}, {2281, S::Hex}, {2281, S::Hex}};
constexpr FieldName kTrimPoint[] = {{2265, S::Units}, {2282, S::Value}};
constexpr FieldName kRegister[] = {{2283, S::Hex}, {2283, S::Hex}, {2283, S::Hex}, {2283, S::Hex},
                                   {2283, S::Hex}, {2283, S::Hex}, {2283, S::Hex}};
constexpr FieldName kSensorNumber[] = {{2284, S::Number}};
constexpr FieldName kSensorConfig[] = {{2284, S::Number}, {2285, S::Number}, {2286, S::Number}};
constexpr FieldName kCalibrationQuery[] = {{2284, S::Number}, {2265, S::Units}};
constexpr FieldName kCalibrationInfo[] = {{2284, S::Number}, {2265, S::Units}, {2287, S::Number},
                                          {2288, S::Value},  {2289, S::Value}, {2290, S::Value},
                                          {2291, S::Value}};
constexpr FieldName kCalibrationMode[] = {{2284, S::Number}, {2287, S::Number}};
constexpr FieldName kLineFilter[] = {{2292, S::Number}};
constexpr FieldName kLevels[] = {
    {2293, S::Current}, {2294, S::Current}, {2295, S::Current}, {2296, S::Current}};
constexpr FieldName kAlarmSelect[] = {{2269, S::Number}};
constexpr FieldName kProtect[] = {{2297, S::Number}, {2274, S::Number}};

constexpr std::span<const FieldName> kNone{};

// Indexed as the command table, command names from string 2200 on; each layout has as many names as
// the table has fields.
const std::array<CommandNames, kCommandCount> kNames = {{
    {2200, kNone, kIdentity},                     // 0
    {2201, kNone, kLoopCurrent},                  // 3
    {2202, kNone, kTagBlock},                     // 13
    {2203, kNone, kSensorLimits},                 // 14
    {2204, kNone, kRangeInfo},                    // 15
    {2205, kNone, kAssembly},                     // 16
    {2206, kTagBlock, kTagBlock},                 // 18
    {2207, kVariableCodes, kVariables},           // 33
    {2208, kDamping, kDamping},                   // 34
    {2209, kRange, kRange},                       // 35
    {2210, kFixedCurrent, kFixedCurrent},         // 40
    {2211, kNone, kNone},                         // 42
    {2212, kUnits, kUnits},                       // 44
    {2213, kMeasuredCurrent, kMeasuredCurrent},   // 45
    {2214, kMeasuredCurrent, kMeasuredCurrent},   // 46
    {2215, kNone, kStatus48},                     // 48
    {2216, kTrimPoint, kTrimPoint},               // 130
    {2217, kTrimPoint, kTrimPoint},               // 131
    {2218, kRegister, kRegister},                 // 139
    {2219, kSensorNumber, kSensorConfig},         // 140
    {2220, kSensorConfig, kSensorConfig},         // 141
    {2221, kCalibrationQuery, kCalibrationInfo},  // 142
    {2222, kCalibrationMode, kCalibrationMode},   // 145
    {2223, kNone, kLineFilter},                   // 150
    {2224, kLineFilter, kLineFilter},             // 151
    {2225, kLevels, kLevels},                     // 155
    {2226, kAlarmSelect, kAlarmSelect},           // 162
    {2227, kNone, kLevels},                       // 189
    {2228, kProtect, kProtect},                   // 195
    {2229, kNone, kIdentity},                     // 249
}};

}  // namespace
}  // namespace field_names

const CommandNames& CommandNamesOf(int commandIndex)
{
    return field_names::kNames.at(static_cast<std::size_t>(commandIndex));
}

}  // namespace hart
