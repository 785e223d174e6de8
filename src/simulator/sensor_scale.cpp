#include "simulator/sensor_scale.h"

#include <cmath>

#include "simulator/sensor_curves.h"
#include "simulator/wire_format.h"

namespace sim {

namespace {

struct TemperatureConversion {
    float factor;
    float offset;
};

// °C → unit as value × factor + offset, in single precision.
TemperatureConversion ConversionFromCelsius(std::uint8_t unitCode)
{
    switch (unitCode) {
    case units::kFahrenheit: return {1.8f, 32.0f};
    case units::kRankine: return {1.8f, 491.66998f};
    case units::kKelvin: return {1.0f, 273.15f};
    default: return {1.0f, 0.0f};
    }
}

float FromCelsius(float celsius, std::uint8_t unitCode)
{
    const TemperatureConversion c = ConversionFromCelsius(unitCode);
    const float product = celsius * c.factor;
    return product + c.offset;
}

}  // namespace

SensorScale::SensorScale(const SensorModel& sensor) : m_sensor(sensor) {}

Limits SensorScale::naturalLimits() const
{
    if (IsThermometer(m_sensor)) return {m_sensor.lowerCelsius, m_sensor.upperCelsius};
    return {m_sensor.electricalLower, m_sensor.electricalUpper};
}

float SensorScale::fromNatural(float natural, std::uint8_t unitCode) const
{
    // Arithmetic on the HART not-a-number would turn it into another NaN pattern.
    if (!IsUnitAllowed(m_sensor, unitCode) || std::isnan(natural)) return NotANumber();
    if (!IsThermometer(m_sensor)) return natural;
    if (IsTemperatureUnit(unitCode)) return FromCelsius(natural, unitCode);
    return static_cast<float>(ElectricalAtCelsius(m_sensor, natural));
}

float SensorScale::toNatural(float value, std::uint8_t unitCode) const
{
    if (!IsUnitAllowed(m_sensor, unitCode) || std::isnan(value)) return NotANumber();
    if (!IsThermometer(m_sensor)) return value;
    if (IsTemperatureUnit(unitCode)) {
        const TemperatureConversion c = ConversionFromCelsius(unitCode);
        return (value - c.offset) / c.factor;
    }
    return static_cast<float>(CelsiusAtElectrical(m_sensor, value));
}

float SensorScale::spanFromNatural(float naturalSpan, std::uint8_t unitCode) const
{
    // A span in ohm or mV is taken at the sensor's mean slope: the curves are nearly flat in
    // places (type B near 0 °C), where the span would vanish.
    if (IsThermometer(m_sensor) && IsUnitAllowed(m_sensor, unitCode) &&
        !IsTemperatureUnit(unitCode))
        return naturalSpan * (m_sensor.electricalUpper - m_sensor.electricalLower) /
               (m_sensor.upperCelsius - m_sensor.lowerCelsius);
    return std::fabs(fromNatural(naturalSpan, unitCode) - fromNatural(0.0f, unitCode));
}

Limits SensorScale::limitsIn(std::uint8_t unitCode) const
{
    if (!IsUnitAllowed(m_sensor, unitCode)) return {NotANumber(), NotANumber()};
    if (IsThermometer(m_sensor) && IsTemperatureUnit(unitCode))
        return {FromCelsius(m_sensor.lowerCelsius, unitCode),
                FromCelsius(m_sensor.upperCelsius, unitCode)};
    return {m_sensor.electricalLower, m_sensor.electricalUpper};
}

float SensorScale::minimumSpanIn(std::uint8_t unitCode) const
{
    switch (m_sensor.kind) {
    case SensorKind::MillivoltInput: return spanFromNatural(kMinimumSpanMillivolt, unitCode);
    case SensorKind::OhmInput: return spanFromNatural(kMinimumSpanOhm, unitCode);
    default: return spanFromNatural(kMinimumSpanCelsius, unitCode);
    }
}

}  // namespace sim
