// The document's sensor trim against the simulated transmitter: the limits, the checks before
// a trim in their order, the trim, the status after it, and the return to the factory
// calibration.
#include <chrono>
#include <cmath>
#include <thread>

#include "calibration/simulated_document.h"
#include "document/question_box.h"

using namespace document;
using Bytes = std::vector<std::uint8_t>;
using Wait = CVeskDoc::CalibrationWait;

namespace {

class SensorTrim : public SimulatedDocumentTest {
protected:
    SensorTrim() { doc.setTrimUnits(transmitter::kUnitCelsius); }

    bool Trim(bool upper, float point)
    {
        if (upper)
            doc.setTrimUpperPoint(point);
        else
            doc.setTrimLowerPoint(point);
        return doc.CalibrateSensorPoint(upper);
    }

    sim::SensorCalibration DeviceCalibration()
    {
        return Device([](sim::Device& d) { return d.state().calibration; });
    }
    void SetDeviceCalibrationError()
    {
        Device([](sim::Device& d) { d.state().calibration.calibrationError = true; });
    }
    void Override(std::uint8_t command, std::uint8_t code)
    {
        Device([=](sim::Device& d) { d.faults().responseOverrides[command] = code; });
    }
};

// The checks of a trim, up to the point where they stop, when nothing refuses: search and
// write protection, range units, sensor type, calibration information.
const Bytes kChecksThroughCalibrationInfo{249, 15, 15, 140, 142};

Bytes Then(Bytes first, std::initializer_list<std::uint8_t> rest)
{
    first.insert(first.end(), rest);
    return first;
}

}  // namespace

// ---- limits -------------------------------------------------------------------------

TEST_F(SensorTrim, LimitsAreStoredThroughTheSetters)
{
    doc.transmitter().upperSensorLimitFailed = 1;
    doc.transmitter().lowerSensorLimitFailed = 1;
    ASSERT_TRUE(doc.LoadSensorLimits());
    EXPECT_EQ(Commands(), (Bytes{249, 15, 14}));
    EXPECT_EQ(doc.sensorLimitUnits(), 32);
    EXPECT_EQ(doc.upperSensorLimit(), 850.0f);
    EXPECT_EQ(doc.lowerSensorLimit(), -200.0f);
    EXPECT_FALSE(doc.upperSensorLimitFailed());
    EXPECT_FALSE(doc.lowerSensorLimitFailed());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(SensorTrim, UnreadableLimitsAreReported)
{
    Override(14, 64);
    EXPECT_FALSE(doc.LoadSensorLimits());
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1330}));
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::Error);
    EXPECT_TRUE(std::isnan(doc.upperSensorLimit()));
}

// ---- one trim -------------------------------------------------------------------------

TEST_F(SensorTrim, LowerPointInFactoryModeSwitchesToUserModeFirst)
{
    ASSERT_TRUE(Trim(false, 25.5f));
    EXPECT_EQ(Commands(), Then(kChecksThroughCalibrationInfo, {48, 145, 131, 48}));
    EXPECT_EQ(DataOf(145), (std::vector<Bytes>{{0, 1}}));
    EXPECT_EQ(DataOf(131), (std::vector<Bytes>{Then({32}, {0x41, 0xCC, 0x00, 0x00})}));  // 32, 25.5
    EXPECT_EQ(user.ids(), (std::vector<int>{1306}));
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::Information);
    EXPECT_EQ(waits, (std::vector<Wait>{Wait::Calibration}));
    const sim::SensorCalibration calibration = DeviceCalibration();
    EXPECT_EQ(calibration.mode, 1);
    ASSERT_TRUE(calibration.lower.has_value());
    EXPECT_EQ(calibration.lower->trueValue, 25.5f);
    EXPECT_EQ(doc.calibrationMode(), 1);
}

TEST_F(SensorTrim, UserModeAlreadySetSendsNoModeCommand)
{
    Device([](sim::Device& d) { d.state().calibration.mode = 1; });
    ASSERT_TRUE(Trim(true, 26.0f));
    EXPECT_EQ(Commands(), Then(kChecksThroughCalibrationInfo, {48, 130, 48}));
    EXPECT_EQ(user.ids(), (std::vector<int>{1307}));
}

TEST_F(SensorTrim, PointsEqualToTheBoundsAreAccepted)
{
    struct Row {
        bool upper;
        float point;  // also where the process is, so that the transmitter applies the trim
        int message;
    };
    for (const Row& row : {Row{false, -200.0f, 1306}, Row{true, 850.0f, 1307}}) {
        ClearRecords();
        Device([&](sim::Device& d) { d.process().value = row.point; });
        EXPECT_TRUE(Trim(row.upper, row.point)) << row.point;
        EXPECT_EQ(user.ids(), (std::vector<int>{row.message}));
        EXPECT_EQ(doc.calLowerBound(), -200.0f);
        EXPECT_EQ(doc.calUpperBound(), 850.0f);
    }
}

TEST_F(SensorTrim, PointsOutsideTheBoundsAreRefusedBeforeAnyWrite)
{
    struct Row {
        bool upper;
        float point;
        int message;
    };
    for (const Row& row :
         {Row{false, -200.01f, 1302}, Row{true, 850.1f, 1303}, Row{false, 900.0f, 1302}}) {
        ClearRecords();
        EXPECT_FALSE(Trim(row.upper, row.point));
        EXPECT_EQ(user.ids(), (std::vector<int>{row.message})) << row.point;
        EXPECT_EQ(Commands(), kChecksThroughCalibrationInfo);
        // The entry the page shows is still what the document holds.
        EXPECT_EQ(row.upper ? doc.trimUpperPoint() : doc.trimLowerPoint(), row.point);
    }
}

TEST_F(SensorTrim, BoundsComeInTheTrimUnits)
{
    doc.setTrimUnits(transmitter::kUnitFahrenheit);
    ASSERT_TRUE(Trim(false, 78.0f));  // 25.6 °C
    EXPECT_EQ(doc.calLowerBound(), -328.0f);
    EXPECT_EQ(DataOf(142), (std::vector<Bytes>{{0, 33}}));
    EXPECT_EQ(DataOf(131).at(0).at(0), 33);
}

// ---- checks before the trim ---------------------------------------------------------------

TEST_F(SensorTrim, UnitsTheSensorDoesNotAcceptAreRefused)
{
    struct Row {
        std::uint8_t sensorType;
        std::uint8_t rangeUnits;
        std::int32_t trimUnits;
    };
    // A thermocouple measuring its range in mV trimmed in °C; a resistance thermometer in mV.
    for (const Row& row : {Row{132, 36, 32}, Row{1, 32, 36}, Row{128, 36, 32}}) {
        ClearRecords();
        Device([&](sim::Device& d) {
            d.state().config.sensorType = row.sensorType;
            d.state().config.rangeUnits = row.rangeUnits;
        });
        doc.setTrimUnits(row.trimUnits);
        EXPECT_FALSE(Trim(false, 25.0f));
        EXPECT_EQ(user.ids(), (std::vector<int>{1298})) << int(row.sensorType);
        EXPECT_EQ(Commands(), (Bytes{249, 15, 15, 140}));
    }
}

TEST_F(SensorTrim, EachUnreadableValueStopsWithItsMessage)
{
    struct Row {
        const char* what;
        std::function<void()> arrange;
        std::vector<int> messages;
        Bytes commands;
    };
    const Row rows[] = {
        {"trim units", [this] { doc.setTrimUnits(38); }, {1297}, {249, 15}},
        {"sensor type", [this] { Override(140, 64); }, {1023, 1300}, {249, 15, 15, 140}},
        {"calibration information",
         [this] { Override(142, 64); },
         {1023, 1301},
         kChecksThroughCalibrationInfo},
        {"additional status",
         [this] { Override(48, 64); },
         {1023, 1291},
         Then(kChecksThroughCalibrationInfo, {48})},
        {"user mode",
         [this] { Override(145, 12); },
         {1031, 1290},
         Then(kChecksThroughCalibrationInfo, {48, 145})},
        {"write protection",
         [this] { Device([](sim::Device& d) { d.state().config.writeProtect = 1; }); },
         {1004},
         {249, 15}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ClearRecords();
        Device([](sim::Device& d) {
            d.faults().responseOverrides.clear();
            d.state().config.writeProtect = 0;
        });
        doc.setTrimUnits(transmitter::kUnitCelsius);
        row.arrange();
        EXPECT_FALSE(Trim(false, 25.5f));
        EXPECT_EQ(user.ids(), row.messages);
        EXPECT_EQ(Commands(), row.commands);
        EXPECT_TRUE(waits.empty());
    }
}

TEST_F(SensorTrim, FailedCalibrationInformationKeepsTheEntriesForARetry)
{
    Override(142, 64);
    doc.setTrimUpperPoint(30.0f);
    EXPECT_FALSE(Trim(false, 25.5f));
    EXPECT_EQ(doc.trimUnits(), 32);
    EXPECT_EQ(doc.trimLowerPoint(), 25.5f);
    EXPECT_EQ(doc.trimUpperPoint(), 30.0f);

    Device([](sim::Device& d) { d.faults().responseOverrides.clear(); });
    user.messages.clear();
    EXPECT_TRUE(doc.CalibrateSensorPoint(false));
    EXPECT_EQ(user.ids(), (std::vector<int>{1306}));
}

TEST_F(SensorTrim, ATrimTheTransmitterRefusesCanBeRetriedAsShown)
{
    Override(131, 9);
    EXPECT_FALSE(Trim(false, 25.5f));
    EXPECT_EQ(user.ids(), (std::vector<int>{1028}));
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(doc.trimUnits(), 32);
    EXPECT_EQ(doc.trimLowerPoint(), 25.5f);

    Device([](sim::Device& d) { d.faults().responseOverrides.clear(); });
    ClearRecords();
    EXPECT_TRUE(doc.CalibrateSensorPoint(false));
    EXPECT_EQ(user.ids(), (std::vector<int>{1306}));
    EXPECT_EQ(DataOf(131).size(), 1u);
}

// ---- calibration errors and the factory calibration ---------------------------------------

TEST_F(SensorTrim, FarPointLeavesErrorsThatTheResetClears)
{
    EXPECT_FALSE(Trim(false, 60.0f));  // 35 °C from the reading: more than 2 % of the span
    EXPECT_EQ(user.ids(), (std::vector<int>{1305}));
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::Information);
    EXPECT_TRUE(DeviceCalibration().calibrationError);

    ClearRecords();
    EXPECT_TRUE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(Commands(), (Bytes{249, 15, 145, 48, 42, 48}));
    EXPECT_EQ(DataOf(145), (std::vector<Bytes>{{0, 0}}));
    EXPECT_EQ(waits, (std::vector<Wait>{Wait::Reset}));
    EXPECT_EQ(user.ids(), (std::vector<int>{1293}));
    EXPECT_FALSE(DeviceCalibration().calibrationError);
    EXPECT_EQ(DeviceCalibration().mode, 0);
}

TEST_F(SensorTrim, ResetWithoutErrorsNeedsNoRestart)
{
    Device([](sim::Device& d) { d.state().calibration.mode = 1; });
    EXPECT_TRUE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(Commands(), (Bytes{249, 15, 145, 48}));
    EXPECT_EQ(DataOf(145), (std::vector<Bytes>{{0, 0}}));
    EXPECT_EQ(user.ids(), (std::vector<int>{1293}));
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(DeviceCalibration().mode, 0);
}

TEST_F(SensorTrim, ErrorsThatOutlastTheResetAreReported)
{
    SetDeviceCalibrationError();
    // During the wait the error comes back, as if the restart had not cleared it.
    doc.showCalibrationWait = [this](Wait wait) {
        waits.push_back(wait);
        SetDeviceCalibrationError();
    };
    EXPECT_TRUE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(user.ids(), (std::vector<int>{1296}));
    EXPECT_EQ(user.messages.back().icon, hart::MessageIcon::Information);
}

TEST_F(SensorTrim, ResetFailuresStopWithTheirMessages)
{
    SetDeviceCalibrationError();
    Override(42, 64);
    EXPECT_FALSE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1292}));
    EXPECT_TRUE(waits.empty());

    ClearRecords();
    Override(145, 12);
    EXPECT_FALSE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(user.ids(), (std::vector<int>{1031, 1289}));
    EXPECT_EQ(Commands(), (Bytes{249, 15, 145}));

    ClearRecords();
    Device([](sim::Device& d) { d.state().config.writeProtect = 1; });
    EXPECT_FALSE(doc.RestoreFactoryCalibration());
    EXPECT_EQ(user.ids(), (std::vector<int>{1004}));
    EXPECT_EQ(Commands(), (Bytes{249, 15}));
}

namespace {

// Sleeps the engine's short polls for real, and counts the whole seconds of a wait instead.
class SecondsCountingSleeper : public hart::Sleeper {
public:
    void sleepFor(std::chrono::milliseconds duration) override
    {
        if (duration >= std::chrono::seconds(1))
            ++seconds;
        else
            std::this_thread::sleep_for(duration);
    }
    int seconds = 0;
};

}  // namespace

TEST_F(SensorTrim, WithoutAWaitDialogTheDocumentWaitsOnItsClock)
{
    SecondsCountingSleeper clock;
    CVeskDoc plain(user, ports, clock);
    SetDeviceCalibrationError();
    EXPECT_TRUE(plain.RestoreFactoryCalibration());
    EXPECT_EQ(clock.seconds, 7);
    EXPECT_EQ(user.ids(), (std::vector<int>{1293}));
}
