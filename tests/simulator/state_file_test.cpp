// The INI initial state: every section, lenient reading, and clear errors for bad lines.

#include <algorithm>

#include <gtest/gtest.h>

#include "simulator/state_file.h"

namespace {

bool HasError(const sim::StateFileResult& result, const std::string& part)
{
    return std::any_of(result.errors.begin(), result.errors.end(), [&](const std::string& error) {
        return error.find(part) != std::string::npos;
    });
}

TEST(SimStateFile, TheDocumentedExampleIsValidAndMatchesTheDefaults)
{
    const sim::StateFileResult result =
        sim::StateFile::load(SIMULATOR_SOURCE_DIR "/example-state.ini");
    ASSERT_TRUE(result.ok()) << result.errors.front();
    const sim::SimulatorSetup defaults;
    EXPECT_EQ(result.setup.state.identity.deviceId, defaults.state.identity.deviceId);
    EXPECT_EQ(result.setup.state.config.tag, defaults.state.config.tag);
    EXPECT_EQ(result.setup.state.config.lineFilter, defaults.state.config.lineFilter);
    EXPECT_FLOAT_EQ(result.setup.state.config.lowSaturationMa,
                    defaults.state.config.lowSaturationMa);
    EXPECT_EQ(result.setup.state.thermometer.assemblyYear, defaults.state.thermometer.assemblyYear);
    EXPECT_EQ(result.setup.faults.commErrorCode, defaults.faults.commErrorCode);
}

TEST(SimStateFile, ReadsEverySection)
{
    const auto result = sim::StateFile::parse(R"(
# a thermocouple transmitter
[Identity]
Device_ID = 0x00BEEF
poll_address = 3
[config]
tag = tt#5          ; '#' inside a value stays
descriptor = Boiler house
message = Checked 2024, next in 2026
date = 29.02.2024
sensor_type = 132
connection = 2
range_units = F
lower_range = 32
upper_range = 1000,5
damping = 2.5
alarm = LOW
line_filter = 60
write_protect = yes
final_assembly_number = 0x123456
[thermometer]
armature = c07
head_type = 2
assembly_date = 01.12.2031
mounting_length = 0x200
[process]
value = 412.5
noise = 0
[faults]
busy = 2
silent = always
response = 35=9
response = 34 = 8
sensor_failure = Short
transmitter_failure = on
)");
    ASSERT_TRUE(result.ok()) << result.errors.front();
    const sim::SimulatorSetup& s = result.setup;
    EXPECT_EQ(s.state.identity.deviceId, 0x00BEEFu);
    EXPECT_EQ(s.state.identity.pollAddress, 3);
    EXPECT_EQ(s.state.config.tag, "TT#5");
    EXPECT_EQ(s.state.config.descriptor, "BOILER HOUSE");
    EXPECT_EQ(s.state.config.message, "CHECKED 2024, NEXT IN 2026");
    EXPECT_EQ(s.state.config.finalAssemblyNumber, 0x123456u);
    EXPECT_EQ(s.state.config.date.day, 29);
    EXPECT_EQ(s.state.config.date.year, 124);
    EXPECT_EQ(s.state.config.sensorType, 132);
    EXPECT_EQ(s.state.config.rangeUnits, 33);
    EXPECT_FLOAT_EQ(s.state.config.upperRangeValue, 1000.5f);
    EXPECT_FLOAT_EQ(s.state.config.dampingS, 2.5f);
    EXPECT_EQ(s.state.config.alarmSelect, 1);
    EXPECT_EQ(s.state.config.lineFilter, 0);
    EXPECT_EQ(s.state.config.writeProtect, 1);
    EXPECT_EQ(s.state.thermometer.armatureLetter, 3);
    EXPECT_EQ(s.state.thermometer.armatureNumber, 7);
    EXPECT_EQ(s.state.thermometer.headType, 2);
    EXPECT_EQ(s.state.thermometer.assemblyYear, 31);
    EXPECT_EQ(s.state.thermometer.mountingLengthMm, 512);
    EXPECT_FLOAT_EQ(s.process.value, 412.5f);
    EXPECT_EQ(s.faults.busy.remaining(), 2);
    EXPECT_TRUE(s.faults.silent.isAlways());
    EXPECT_EQ(s.faults.responseOverrides.at(35), 9);
    EXPECT_EQ(s.faults.responseOverrides.at(34), 8);
    EXPECT_EQ(s.faults.sensorFailure, sim::SensorFailure::Short);
    EXPECT_TRUE(s.faults.transmitterFailure);
}

TEST(SimStateFile, BadLinesAreReportedWithTheirNumbersAndTheRestIsTaken)
{
    const auto result =
        sim::StateFile::parse("tag = early\n"         // 1: before any section
                              "[config]\n"            // 2
                              "damping = fast\n"      // 3: not a number
                              "colour = blue\n"       // 4: unknown key
                              "tag = TOO-LONG-TAG\n"  // 5: longer than 8
                              "tag = ÄÖ\n"            // 6: not packed ASCII
                              "date = 31.02.2024\n"   // 7: no such day
                              "sensor_type = 2\n"     // 8: unknown sensor
                              "just words\n"          // 9: no '='
                              "[config\n"             // 10: unclosed header
                              "[network]\n"           // 11: unknown section
                              "speed = 9600\n"  // 12: in the unknown section: not reported again
                              "[faults]\n"      // 13
                              "busy = sometimes\n"         // 14
                              "response = 35:9\n"          // 15
                              "sensor_failure = broken\n"  // 16
                              "[identity]\n"               // 17
                              "device_id = 0x1000000\n"    // 18: more than 24 bits
                              "[config]\n"                 // 19
                              "damping = 4\n"              // 20: good
                              "message = ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456\n"  // 21: longer than 32
                              "[identity]\n"                                   // 22
                              "poll_address = 16\n");  // 23: HART 5 polls 0-15
    const std::vector<std::string> expectedLines{
        "line 1:",  "line 3:",  "line 4:",  "line 5:",  "line 6:",  "line 7:",
        "line 8:",  "line 9:",  "line 10:", "line 11:", "line 14:", "line 15:",
        "line 16:", "line 18:", "line 21:", "line 23:"};
    ASSERT_EQ(result.errors.size(), expectedLines.size());
    for (std::size_t i = 0; i < expectedLines.size(); ++i)
        EXPECT_EQ(result.errors[i].rfind(expectedLines[i], 0), 0u) << result.errors[i];
    EXPECT_TRUE(HasError(result, "damping = fast: expected a number"));
    EXPECT_TRUE(HasError(result, "unknown key 'colour' in [config]"));
    EXPECT_TRUE(HasError(result, "unknown section [network]"));
    EXPECT_FLOAT_EQ(result.setup.state.config.dampingS, 4.0f);
    EXPECT_EQ(result.setup.state.config.tag, "TT-101");
}

TEST(SimStateFile, ValuesThatDoNotFitTogetherAreReported)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"[config]\nsensor_type = 132\nconnection = 3\n",
         "connection 3 is not allowed for sensor type 132"},
        {"[config]\nrange_units = mV\n", "range_units 36 is not allowed"},
        {"[config]\nupper_range = 900\n", "upper_range 900 is outside the sensor limits"},
        {"[config]\nupper_range = 5\n", "narrower than the minimum span"},
        {"[config]\ndamping = 0.2\n", "damping 0.2 is outside"},
        {"[config]\nhigh_alarm = 24\n", "high_alarm 24 is outside 21–23 mA"},
        {"[config]\nlow_alarm = 3.8\n", "low_alarm lies above low_saturation"},
        {"[config]\nsensor_temp_units = Ohm\n", "sensor_temp_units must be a temperature unit"},
        {"[process]\nnoise = -1\n", "noise must not be negative"},
    };
    for (const Case& c : cases) {
        const auto result = sim::StateFile::parse(c.text);
        EXPECT_TRUE(HasError(result, c.error))
            << c.text << (result.errors.empty() ? "" : result.errors.front());
    }
}

TEST(SimStateFile, AMissingFileIsAnError)
{
    const auto result = sim::StateFile::load("/nonexistent/state.ini");
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_TRUE(HasError(result, "cannot read /nonexistent/state.ini"));
}

}  // namespace
