#pragma once

#include <cstdint>

#include <QList>
#include <QStringList>

namespace document {

// A list without a selection, as QComboBox reports it.
constexpr int kNoSelection = -1;

// Every Basic page list starts with an empty entry (index 0: nothing chosen).

// The empty entry and the 21 sensor names in table order.
QStringList SensorListEntries();
// The entry a stored sensor type code selects: kNoSelection for a code without a row,
// which is not the same as the empty entry.
int SensorListIndex(std::int32_t sensorType);

// The connection and units lists depend on the selected sensor (an index of the sensor
// list, or kNoSelection).
QStringList ConnectionListEntries(int sensorIndex);
QList<std::int32_t> UnitListCodes(int sensorIndex);  // after the empty entry
QStringList UnitListEntries(int sensorIndex);

std::int32_t ConnectionCodeFromIndex(int connectionIndex);
int ConnectionIndexFromCode(int sensorIndex, std::int32_t connectionCode);

// 38 (no unit) for the empty entry and for no selection.
std::int32_t UnitCodeFromIndex(int sensorIndex, int unitsIndex);
// A stored unit the sensor does not offer selects the entry the sensor offers instead
// (a resistance thermometer stored with millivolts shows ohms).
int UnitsIndexFromCode(int sensorIndex, std::int32_t unitCode);

}  // namespace document
