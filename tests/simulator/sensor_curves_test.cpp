// The electrical values the simulated sensors give, at published reference points of their
// standard curves, as command 3 reports them (the fourth variable, in ohm or mV).

#include <gtest/gtest.h>

#include "simulator/device_fixture.h"

namespace {

using simtest::FloatAt;

class SimSensorCurves : public simtest::DeviceTest {};

TEST_F(SimSensorCurves, ElectricalValuesAtReferencePoints)
{
    struct Case {
        const char* name;
        std::uint8_t sensorType;
        float celsius;
        float expected;  // ohm or mV
        float tolerance;
    };
    const Case cases[] = {
        // IEC 60751 tables, Pt100 α = 0.00385.
        {"Pt100 0 °C", 1, 0.0f, 100.00f, 0.005f},
        {"Pt100 25 °C", 1, 25.0f, 109.73f, 0.005f},
        {"Pt100 100 °C", 1, 100.0f, 138.51f, 0.005f},
        {"Pt100 -200 °C", 1, -200.0f, 18.52f, 0.005f},
        {"Pt100 850 °C", 1, 850.0f, 390.48f, 0.005f},
        {"Pt1000 100 °C", 7, 100.0f, 1385.06f, 0.05f},
        // GOST 6651: Pt100 α = 0.00391, Cu100 α = 0.00428 and 0.00426.
        {"Pt100 (0.00391) 100 °C", 15, 100.0f, 139.11f, 0.005f},
        {"Cu100 (0.00428) 100 °C", 13, 100.0f, 142.80f, 0.005f},
        {"Cu50 (0.00426) 100 °C", 10, 100.0f, 71.30f, 0.005f},
        // IEC 60584-1 tables.
        {"type K 100 °C", 132, 100.0f, 4.096f, 0.0005f},
        {"type K 1000 °C", 132, 1000.0f, 41.276f, 0.0005f},
        {"type K -100 °C", 132, -100.0f, -3.554f, 0.0005f},
        {"type J 500 °C", 131, 500.0f, 27.393f, 0.0005f},
        {"type S 1000 °C", 135, 1000.0f, 9.587f, 0.0005f},
        {"type T 200 °C", 136, 200.0f, 9.288f, 0.0005f},
        {"type B 1000 °C", 129, 1000.0f, 4.834f, 0.0005f},
    };
    for (const Case& c : cases) {
        setup().state.config.sensorType = c.sensorType;
        setup().state.config.sensorConnection = 2;
        setup().process.value = c.celsius;
        const auto answer = command(3);
        ASSERT_EQ(answer.data.size(), 24u) << c.name;
        EXPECT_NEAR(FloatAt(answer.data, 20), c.expected, c.tolerance) << c.name;
    }
}

TEST_F(SimSensorCurves, RangesInOhmConvertAlongTheCurve)
{
    // 0–100 °C written as 100.00–138.51 Ω and read back in °C.
    ASSERT_EQ(command(44, {37}).responseCode, 0);
    const auto inOhm = command(15);
    EXPECT_NEAR(FloatAt(inOhm.data, 3), 138.5055f, 1e-3);
    EXPECT_NEAR(FloatAt(inOhm.data, 7), 100.0f, 1e-3);
    ASSERT_EQ(command(44, {32}).responseCode, 0);
    const auto inCelsius = command(15);
    EXPECT_NEAR(FloatAt(inCelsius.data, 3), 100.0f, 1e-3);
    EXPECT_NEAR(FloatAt(inCelsius.data, 7), 0.0f, 1e-3);
}

}  // namespace
