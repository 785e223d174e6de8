#pragma once

#include "simulator/sensor_catalog.h"

namespace sim {

// The physics of the sensors: what a thermometer puts on the input terminals at a temperature,
// in ohm (resistance thermometers, for their own nominal resistance) or millivolt
// (thermocouples, cold junction at 0 °C), from the standard curve of its type.
double ElectricalAtCelsius(const SensorModel& sensor, double celsius);
// The inverse. The curves rise steadily over the sensor's range, so a search finds it; beyond
// the curve's span the end slope carries on.
double CelsiusAtElectrical(const SensorModel& sensor, double electrical);

}  // namespace sim
