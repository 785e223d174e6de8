#pragma once

#include <cstdint>

// The inputs the transmitter measures, with their measuring limits.
namespace sim {

namespace units {
constexpr std::uint8_t kCelsius = 32;
constexpr std::uint8_t kFahrenheit = 33;
constexpr std::uint8_t kRankine = 34;
constexpr std::uint8_t kKelvin = 35;
constexpr std::uint8_t kMillivolt = 36;
constexpr std::uint8_t kOhm = 37;
// HART: "not used", reported with a not-a-number value for an unused device variable.
constexpr std::uint8_t kNotUsed = 250;
}  // namespace units

enum class SensorKind { ResistanceThermometer, Thermocouple, MillivoltInput, OhmInput };

// The standard curve a thermometer follows (sensor_curves).
enum class SensorCurve {
    None,  // the electrical inputs: the value is what is measured
    Platinum385,
    Platinum391,
    Copper428,
    Copper426,
    TypeB,
    TypeE,
    TypeJ,
    TypeK,
    TypeN,
    TypeR,
    TypeS,
    TypeT,
    TypeL,
};

struct SensorModel {
    std::uint8_t typeCode;
    SensorKind kind;
    // Temperature limits (thermometers only).
    float lowerCelsius;
    float upperCelsius;
    // Limits of the electrical input in its unit (ohm or millivolt).
    float electricalLower;
    float electricalUpper;
    SensorCurve curve = SensorCurve::None;
    // Resistance at 0 °C (resistance thermometers only).
    double nominalOhm = 0.0;
};

// nullptr for a type code the transmitter does not know.
const SensorModel* FindSensor(std::uint8_t typeCode);

bool IsThermometer(const SensorModel& sensor);
// The unit the electrical input is measured in: ohm or millivolt.
std::uint8_t ElectricalUnit(const SensorModel& sensor);
// The unit the process value of this sensor is given in: °C for thermometers, else the
// electrical unit.
std::uint8_t NaturalUnit(const SensorModel& sensor);
// Temperature units for thermometers, plus the electrical unit of the sensor.
bool IsUnitAllowed(const SensorModel& sensor, std::uint8_t unitCode);
// Thermocouples and the millivolt input are two-wire; resistance inputs take 2, 3 or 4 wires.
bool IsConnectionAllowed(const SensorModel& sensor, std::uint8_t connectionCode);
bool IsTemperatureUnit(std::uint8_t unitCode);

}  // namespace sim
