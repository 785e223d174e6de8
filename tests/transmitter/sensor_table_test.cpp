#include <bit>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "transmitter/parameter_values.h"
#include "transmitter/range_limits.h"
#include "transmitter/sensor_table.h"
#include "transmitter/units.h"

using namespace transmitter;

namespace {

std::uint32_t Bits(float value) { return std::bit_cast<std::uint32_t>(value); }
float FromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

// The sensor table transcribed from the transmitter's data sheet: list index, type code,
// temperature limits in °C (rows 1–19), electrical unit and limits by their bits.
struct ExpectedRow {
    int index;
    std::int32_t code;
    const char* name;
    int lowerCelsius;
    int upperCelsius;
    std::int32_t electricalUnit;
    std::uint32_t electricalLower;
    std::uint32_t electricalUpper;
};

constexpr int kNoTemperature = 9999;

const ExpectedRow kExpected[] = {
    {1, 1, "PT100 (a = 0.00385)", -200, 850, 37, 0x419428F6, 0x43C33D95},
    {2, 3, "PT200 (a = 0.00385)", -200, 850, 37, 0x421428F6, 0x44433D95},
    {3, 4, "PT500 (a = 0.00385)", -200, 850, 37, 0x42B93333, 0x44F40CFA},
    {4, 7, "PT1000 (a = 0.00385)", -200, 300, 37, 0x43393312, 0x45048866},
    {5, 14, "PT50 (a = 0.00391)", -200, 500, 37, 0x4109F909, 0x43165625},
    {6, 15, "PT100 (a = 0.00391)", -200, 550, 37, 0x4189F909, 0x43965628},
    {7, 10, "CU50 (a = 0.00426)", -50, 200, 37, 0x421D6666, 0x42B93340},
    {8, 11, "CU50 (a = 0.00428)", -185, 200, 37, 0x4111F3B6, 0x42B9999A},
    {9, 12, "CU100 (a = 0.00426)", -50, 200, 37, 0x429D6666, 0x4339333A},
    {10, 13, "CU100 (a = 0.00428)", -185, 200, 37, 0x4191F3B6, 0x4339999A},
    {11, 129, "Термопара Тип B", 100, 1820, 36, 0x3D07F5E8, 0x415D1F20},
    {12, 130, "Термопара Тип E", -200, 1000, 36, 0xC10D31C4, 0x4298BEE5},
    {13, 131, "Термопара Тип J", -180, 760, 36, 0xC0ECDF3D, 0x422BACB8},
    {14, 132, "Термопара Тип K", -180, 1372, 36, 0xC0B19B3F, 0x425B8B27},
    {15, 133, "Термопара Тип N", -200, 1300, 36, 0xC07F7397, 0x423E0D9F},
    {16, 134, "Термопара Тип R", 0, 1768, 36, 0xB866AFCD, 0x41A8CFD3},
    {17, 135, "Термопара Тип S", 0, 1768, 36, 0xB827C5AC, 0x41958AA6},
    {18, 136, "Термопара Тип T", -200, 400, 36, 0xC0B34AF5, 0x41A6FAA2},
    {19, 143, "Термопара Тип L", -200, 800, 36, 0xC117CFDB, 0x4284EEA7},
    {20, 128, "мВ", kNoTemperature, kNoTemperature, 36, 0xC1200000, 0x42C80000},  // −10, 100
    {21, 0, "Ом", kNoTemperature, kNoTemperature, 37, 0x00000000, 0x44FA0000},    // 0, 2000
};

// value × factor + offset with each operation rounded to single precision, computed in
// double and rounded once per operation (exact for a product and a sum of two floats).
float SingleRounded(int celsius, std::uint32_t factorBits, std::uint32_t offsetBits)
{
    const float product = static_cast<float>(static_cast<double>(celsius) * FromBits(factorBits));
    return static_cast<float>(static_cast<double>(product) + FromBits(offsetBits));
}

float Expected(int celsius, std::int32_t unit)
{
    switch (unit) {
    case 32: return static_cast<float>(celsius);
    case 33: return SingleRounded(celsius, 0x3FE66666, 0x42000000);
    case 34: return SingleRounded(celsius, 0x3FE66666, 0x43F5D5C2);
    case 35: return SingleRounded(celsius, 0x3F800000, 0x43889333);
    default: return kNotSetFloat;
    }
}

void ExpectSameBits(float actual, float expected, const std::string& where)
{
    if (std::isnan(expected))
        EXPECT_EQ(Bits(actual), kNotSetFloatBits) << where;
    else
        EXPECT_EQ(Bits(actual), Bits(expected)) << where << ": " << actual << " vs " << expected;
}

}  // namespace

TEST(TransmitterSensorTable, EveryRowInEveryUnitBitForBit)
{
    ASSERT_EQ(SensorTable().size(), std::size(kExpected));
    for (const ExpectedRow& row : kExpected) {
        const SensorRow& actual = SensorTable()[row.index - 1];
        EXPECT_EQ(actual.index, row.index);
        EXPECT_EQ(actual.typeCode, row.code) << row.index;
        EXPECT_EQ(tarvel::LoadText(actual.nameStringId), row.name) << row.index;
        // The list shows the names in string order after the empty entry.
        EXPECT_EQ(actual.nameStringId, 699 + row.index);

        for (std::int32_t unit = 32; unit <= 38; ++unit) {
            float lower = kNotSetFloat, upper = kNotSetFloat;
            if (row.lowerCelsius != kNoTemperature && unit <= 35) {
                lower = Expected(row.lowerCelsius, unit);
                upper = Expected(row.upperCelsius, unit);
            } else if (unit == row.electricalUnit) {
                lower = FromBits(row.electricalLower);
                upper = FromBits(row.electricalUpper);
            }
            const auto [actualLower, actualUpper] = SensorLimits(row.index, unit);
            const std::string where =
                "index " + std::to_string(row.index) + " unit " + std::to_string(unit);
            ExpectSameBits(actualLower, lower, where + " lower");
            ExpectSameBits(actualUpper, upper, where + " upper");
        }
    }
}

TEST(TransmitterSensorTable, ConversionsMatchTheTransmittersOwnFigures)
{
    struct Case {
        int index;
        std::int32_t unit;
        std::uint32_t lower;
        std::uint32_t upper;
    };
    const Case cases[] = {
        {14, 33, 0xC3920000, 0x451C5999},  // −292 °F, 2501.5999 °F (not 2501.6)
        {1, 32, 0xC3480000, 0x44548000},   // −200 °C, 850 °C
        {1, 33, 0xC3A40000, 0x44C34000},   // −328 °F, 1562 °F
        {1, 34, 0x4303AB84, 0x44FCB570},   // 131.66998 °R, 2021.6699 °R
        {1, 35, 0x42924CCC, 0x448C64CD},   // 73.149994 K, 1123.15 K
        {1, 37, 0x419428F6, 0x43C33D95},   // 18.52 Ом, 390.4811 Ом
        {16, 36, 0xB866AFCD, 0x41A8CFD3},  // a slightly negative lower limit
    };
    for (const Case& c : cases) {
        const auto [lower, upper] = SensorLimits(c.index, c.unit);
        EXPECT_EQ(Bits(lower), c.lower) << c.index << "/" << c.unit;
        EXPECT_EQ(Bits(upper), c.upper) << c.index << "/" << c.unit;
    }
}

TEST(TransmitterSensorTable, LimitsNotSetOutsideTheTable)
{
    const std::pair<int, std::int32_t> cases[] = {
        {1, 36}, {20, 32}, {21, 36}, {0, 32}, {5, 38}, {-1, 32}, {22, 37}, {11, 37}, {3, 0},
    };
    for (const auto& [index, unit] : cases) {
        const auto [lower, upper] = SensorLimits(index, unit);
        EXPECT_EQ(Bits(lower), kNotSetFloatBits) << index << "/" << unit;
        EXPECT_EQ(Bits(upper), kNotSetFloatBits) << index << "/" << unit;
    }
}

TEST(TransmitterSensorTable, LookupsBothWays)
{
    for (const ExpectedRow& row : kExpected) {
        EXPECT_EQ(SensorCodeFromIndex(row.index), row.code);
        EXPECT_EQ(SensorIndexFromCode(row.code), row.index);
    }
    EXPECT_EQ(SensorCodeFromIndex(21), 0);
    EXPECT_EQ(SensorIndexFromCode(0), 21);
    for (int index : {0, -1, 22, 251}) EXPECT_EQ(SensorCodeFromIndex(index), 251) << index;
    for (std::int32_t code : {2, 5, 137, 251, 255, -1})
        EXPECT_EQ(SensorIndexFromCode(code), 251) << code;
}

TEST(TransmitterUnits, SymbolsFromTheStringTable)
{
    const std::pair<std::int32_t, const char*> symbols[] = {
        {32, "°C"}, {33, "°F"}, {34, "°R"}, {35, "°K"}, {36, "мВ"},
        {37, "Ом"}, {38, ""},   {0, ""},    {31, ""},   {251, ""},
    };
    for (const auto& [code, symbol] : symbols) EXPECT_EQ(UnitSymbol(code), symbol) << code;
}

TEST(TransmitterUnits, CalibrationListMapsIndexToCodeAndBack)
{
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(CalibrationUnitFromListIndex(i), 32 + i);
        EXPECT_EQ(CalibrationListIndexFromUnit(32 + i), i);
    }
    for (int i : {-1, 6, 38}) EXPECT_EQ(CalibrationUnitFromListIndex(i), 38) << i;
}

TEST(TransmitterRangeLimits, OnlyASmallExcessIsPulledOntoTheLimit)
{
    const float nan = kNotSetFloat;
    EXPECT_EQ(Bits(LimitTolerance()), 0x3BA3D70Au);
    struct Case {
        float value;
        float limit;
        float lower;  // result as a lower value
        float upper;  // result as an upper value
    };
    const Case cases[] = {
        {0.0f, -200.0f, 0.0f, 0.0f},  // inside: unchanged either way
        {-200.004f, -200.0f, -200.0f, -200.004f},
        {-205.0f, -200.0f, -205.0f, -205.0f},
        {850.004f, 850.0f, 850.004f, 850.0f},
        {850.01f, 850.0f, 850.01f, 850.01f},
        {100.0f, 850.0f, 100.0f, 100.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(SnapLowerOntoLimit(c.value, c.limit)), Bits(c.lower)) << c.value;
        EXPECT_EQ(Bits(SnapUpperOntoLimit(c.value, c.limit)), Bits(c.upper)) << c.value;
    }
    EXPECT_TRUE(std::isnan(SnapLowerOntoLimit(nan, 0.0f)));
    EXPECT_EQ(SnapUpperOntoLimit(850.004f, nan), 850.004f);
}
