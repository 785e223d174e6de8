#include "simulator/sensor_catalog.h"

#include <array>

namespace sim {

namespace {

using enum SensorKind;

// The electrical limits are the configuration program's constants (what command 14 reports),
// not the curves' values at the temperature limits.
constexpr std::array kSensors{
    SensorModel{1, ResistanceThermometer, -200, 850, 18.52f, 390.4811f, SensorCurve::Platinum385,
                100},  // PT100 a=0.00385
    SensorModel{3, ResistanceThermometer, -200, 850, 37.04f, 780.9622f, SensorCurve::Platinum385,
                200},  // PT200 a=0.00385
    SensorModel{4, ResistanceThermometer, -200, 850, 92.6f, 1952.4055f, SensorCurve::Platinum385,
                500},  // PT500 a=0.00385
    SensorModel{7, ResistanceThermometer, -200, 300, 185.1995f, 2120.525f, SensorCurve::Platinum385,
                1000},  // PT1000 a=0.00385
    SensorModel{14, ResistanceThermometer, -200, 500, 8.6233f, 150.3365f, SensorCurve::Platinum391,
                50},  // PT50 a=0.00391
    SensorModel{15, ResistanceThermometer, -200, 550, 17.2466f, 300.6731f, SensorCurve::Platinum391,
                100},  // PT100 a=0.00391
    SensorModel{10, ResistanceThermometer, -50, 200, 39.35f, 92.6001f, SensorCurve::Copper426,
                50},  // CU50 a=0.00426
    SensorModel{11, ResistanceThermometer, -185, 200, 9.122f, 92.8f, SensorCurve::Copper428,
                50},  // CU50 a=0.00428
    SensorModel{12, ResistanceThermometer, -50, 200, 78.7f, 185.2001f, SensorCurve::Copper426,
                100},  // CU100 a=0.00426
    SensorModel{13, ResistanceThermometer, -185, 200, 18.244f, 185.6f, SensorCurve::Copper428,
                100},  // CU100 a=0.00428
    SensorModel{129, Thermocouple, 100, 1820, 0.0331935f, 13.820099f,
                SensorCurve::TypeB},                                                       // type B
    SensorModel{130, Thermocouple, -200, 1000, -8.82465f, 76.37284f, SensorCurve::TypeE},  // type E
    SensorModel{131, Thermocouple, -180, 760, -7.402251f, 42.91867f, SensorCurve::TypeJ},  // type J
    SensorModel{132, Thermocouple, -180, 1372, -5.550201f, 54.88589f,
                SensorCurve::TypeK},                                                       // type K
    SensorModel{133, Thermocouple, -200, 1300, -3.99143f, 47.5133f, SensorCurve::TypeN},   // type N
    SensorModel{134, Thermocouple, 0, 1768, -0.000055f, 21.101477f, SensorCurve::TypeR},   // type R
    SensorModel{135, Thermocouple, 0, 1768, -0.00004f, 18.6927f, SensorCurve::TypeS},      // type S
    SensorModel{136, Thermocouple, -200, 400, -5.6029f, 20.87238f, SensorCurve::TypeT},    // type T
    SensorModel{143, Thermocouple, -200, 800, -9.488246f, 66.46612f, SensorCurve::TypeL},  // type L
    SensorModel{128, MillivoltInput, 0, 0, -10, 100},
    SensorModel{0, OhmInput, 0, 0, 0, 2000},
};

}  // namespace

const SensorModel* FindSensor(std::uint8_t typeCode)
{
    for (const SensorModel& sensor : kSensors) {
        if (sensor.typeCode == typeCode) return &sensor;
    }
    return nullptr;
}

bool IsThermometer(const SensorModel& sensor)
{
    return sensor.kind == ResistanceThermometer || sensor.kind == Thermocouple;
}

std::uint8_t ElectricalUnit(const SensorModel& sensor)
{
    return sensor.kind == Thermocouple || sensor.kind == MillivoltInput ? units::kMillivolt
                                                                        : units::kOhm;
}

std::uint8_t NaturalUnit(const SensorModel& sensor)
{
    return IsThermometer(sensor) ? units::kCelsius : ElectricalUnit(sensor);
}

bool IsTemperatureUnit(std::uint8_t unitCode)
{
    return unitCode >= units::kCelsius && unitCode <= units::kKelvin;
}

bool IsUnitAllowed(const SensorModel& sensor, std::uint8_t unitCode)
{
    return unitCode == ElectricalUnit(sensor) ||
           (IsThermometer(sensor) && IsTemperatureUnit(unitCode));
}

bool IsConnectionAllowed(const SensorModel& sensor, std::uint8_t connectionCode)
{
    if (sensor.kind == Thermocouple || sensor.kind == MillivoltInput) return connectionCode == 2;
    return connectionCode >= 2 && connectionCode <= 4;
}

}  // namespace sim
