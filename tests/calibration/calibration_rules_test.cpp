// The widget-free rules of the calibration procedures: status bits, the units a sensor
// accepts for its trim, the current messages, the meter reading checks and the wait's ticks.
#include <QLocale>

#include <gtest/gtest.h>

#include "document/calibration_rules.h"
#include "document/calibration_wait.h"
#include "support/fake_sleeper.h"

using namespace document;
using transmitter::AdditionalStatus;

namespace {

AdditionalStatus Status(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                        std::uint8_t b4)
{
    AdditionalStatus status;
    status.ok = true;
    const std::uint8_t bytes[5] = {b0, b1, b2, b3, b4};
    std::copy(std::begin(bytes), std::end(bytes), status.bytes);
    return status;
}

class RussianLocale : public testing::Test {
protected:
    RussianLocale() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    ~RussianLocale() override { QLocale::setDefault(QLocale::c()); }
};

}  // namespace

TEST(CalibrationStatus, CalibrationErrorNeedsBothBits)
{
    EXPECT_TRUE(HasCalibrationError(Status(0, 0, 0x08, 0x04, 0)));
    EXPECT_TRUE(HasCalibrationError(Status(0xFF, 0xFF, 0xFF, 0xFF, 0xFF)));
    EXPECT_FALSE(HasCalibrationError(Status(0, 0, 0x08, 0, 0)));
    EXPECT_FALSE(HasCalibrationError(Status(0, 0, 0, 0x04, 0)));
    EXPECT_FALSE(HasCalibrationError(Status(0, 0, 0xF7, 0xFB, 0)));  // every other bit
}

TEST(CalibrationStatus, TrimIsRefusedOnlyWhenEveryConditionHolds)
{
    const AdditionalStatus all = Status(1, 1, 0x80, 0x01 | 0x08 | 0x10, 1);
    EXPECT_TRUE(StatusRefusesTrim(all));
    // Take away one condition at a time: (byte, bits to clear).
    const std::pair<int, std::uint8_t> removals[] = {{0, 0xFF}, {1, 0xFF}, {4, 0xFF}, {2, 0x80},
                                                     {3, 0x01}, {3, 0x08}, {3, 0x10}};
    for (const auto& [byte, bits] : removals) {
        AdditionalStatus status = all;
        status.bytes[byte] &= static_cast<std::uint8_t>(~bits);
        EXPECT_FALSE(StatusRefusesTrim(status)) << "byte " << byte << " bits " << int(bits);
    }
    EXPECT_FALSE(StatusRefusesTrim(Status(0, 0, 0, 0, 0)));
}

TEST(CalibrationUnits, AllowedForEachKindOfSensor)
{
    struct Row {
        std::int32_t sensorType, trimUnits, rangeUnits;
        bool allowed;
    };
    const Row rows[] = {
        {0, 37, 37, true},    {0, 32, 37, false},
        {0, 36, 37, false},  // ohm input: ohm only
        {128, 36, 36, true},  {128, 32, 36, false},
        {128, 37, 36, false},  // millivolt input: mV only
        {1, 32, 32, true},    {1, 35, 33, true},
        {1, 37, 32, true},                          // resistance thermometer
        {1, 36, 32, false},   {15, 36, 37, false},  // ... never mV
        {1, 32, 37, false},   {1, 37, 37, true},    // ... range in ohm: ohm only
        {132, 32, 32, true},  {132, 36, 32, true},
        {129, 37, 32, false},  // thermocouple, never ohm
        {132, 32, 36, false}, {143, 33, 36, false},
        {143, 36, 36, true},  // ... range in mV: mV only
        {200, 32, 32, true},  // no rule for other codes
    };
    for (const Row& row : rows)
        EXPECT_EQ(TrimUnitsAllowed(row.sensorType, row.trimUnits, row.rangeUnits), row.allowed)
            << "sensor " << row.sensorType << ", trim units " << row.trimUnits << ", range units "
            << row.rangeUnits;
}

TEST(CalibrationMessages, CurrentFillsTheFormat)
{
    EXPECT_EQ(CurrentMessage(1285, 3.5f),
              "Записываемое значение фиксированного тока ниже нижнего уровня аварии! (3.50 mA)");
    EXPECT_EQ(CurrentMessage(1287, 12.345f), "Фиксированный ток (12.35 mA) успешно установлен!");
    EXPECT_EQ(CurrentMessage(1288, 21.0f), "Ошибка установки фиксированного тока (21.00 mA)!");
}

TEST_F(RussianLocale, CurrentMessageUsesTheLocaleSeparator)
{
    EXPECT_EQ(CurrentMessage(1286, 21.0f),
              "Записываемое значение фиксированного тока выше верхнего уровня аварии! (21,00 mA)");
}

TEST(MeterReading, WarningsAtBothPoints)
{
    struct Row {
        LoopPoint point;
        const char* text;
        int messageId;  // 0: no warning
        bool refocus;
    };
    const Row rows[] = {
        {LoopPoint::FourMa, "", 1278, false},       {LoopPoint::FourMa, "4.25", 1279, true},
        {LoopPoint::FourMa, "4.2", 0, false},       {LoopPoint::FourMa, "4", 0, false},
        {LoopPoint::FourMa, "3.8", 0, false},       {LoopPoint::FourMa, "3.79", 1280, true},
        {LoopPoint::TwentyMa, "", 1281, false},     {LoopPoint::TwentyMa, "20.51", 1282, true},
        {LoopPoint::TwentyMa, "20.5", 0, false},    {LoopPoint::TwentyMa, "19.5", 0, false},
        {LoopPoint::TwentyMa, "19.49", 1283, true}, {LoopPoint::TwentyMa, "4", 1283, true},
    };
    for (const Row& row : rows) {
        const auto warning = CheckMeterReading(row.point, QString::fromLatin1(row.text));
        SCOPED_TRACE(row.text);
        if (row.messageId == 0) {
            EXPECT_FALSE(warning.has_value());
            continue;
        }
        ASSERT_TRUE(warning.has_value());
        EXPECT_EQ(warning->messageId, row.messageId);
        EXPECT_EQ(warning->refocus, row.refocus);
    }
}

TEST(CalibrationWait, CalibrationTicks36TimesResetSeven)
{
    using Wait = CVeskDoc::CalibrationWait;
    for (const auto& [wait, ticks, textId] :
         {std::tuple{Wait::Calibration, 36, 1309}, std::tuple{Wait::Reset, 7, 1310}}) {
        WaitCounter counter(wait);
        EXPECT_EQ(counter.textId(), textId);
        EXPECT_EQ(counter.duration(), ticks - 1);
        int tick = 1;
        while (!counter.Tick()) {
            EXPECT_EQ(counter.position(), tick);  // the bar follows the counter
            ++tick;
        }
        EXPECT_EQ(tick, ticks);
        EXPECT_EQ(counter.position(), 0);

        FakeSleeper clock;
        WaitOnClock(wait, clock);
        EXPECT_EQ(clock.calls, ticks);
        EXPECT_EQ(clock.total, std::chrono::seconds(ticks));
    }
}
