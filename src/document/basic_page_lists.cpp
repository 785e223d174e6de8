#include "document/basic_page_lists.h"

#include "document/display_text.h"
#include "resources/string_ids/document.h"
#include "transmitter/parameter_values.h"
#include "transmitter/sensor_table.h"

namespace document {
namespace {

using namespace transmitter;

enum class SensorKind {
    Empty,
    NoSelection,
    ResistanceThermometer,
    Thermocouple,
    MillivoltInput,
    OhmInput
};

SensorKind KindOf(int sensorIndex)
{
    if (sensorIndex == 0) return SensorKind::Empty;
    if (sensorIndex >= 1 && sensorIndex <= 10) return SensorKind::ResistanceThermometer;
    if (sensorIndex >= 11 && sensorIndex <= 19) return SensorKind::Thermocouple;
    if (sensorIndex == 20) return SensorKind::MillivoltInput;
    if (sensorIndex == 21) return SensorKind::OhmInput;
    return SensorKind::NoSelection;
}

using tarvel::kFourWireString;
using tarvel::kThreeWireString;
using tarvel::kTwoWireString;
constexpr std::int32_t kTwoWire = 2;
constexpr std::int32_t kThreeWire = 3;
constexpr std::int32_t kFourWire = 4;

bool OnlyTwoWires(SensorKind kind)
{
    return kind == SensorKind::Thermocouple || kind == SensorKind::MillivoltInput;
}

}  // namespace

QStringList SensorListEntries()
{
    QStringList entries{QString()};
    for (const SensorRow& row : SensorTable()) entries << LoadedText(row.nameStringId);
    return entries;
}

int SensorListIndex(std::int32_t sensorType)
{
    const int index = SensorIndexFromCode(sensorType);
    return index >= 1 && index <= kSensorRowCount ? index : kNoSelection;
}

QStringList ConnectionListEntries(int sensorIndex)
{
    QStringList entries{QString(), LoadedText(kTwoWireString)};
    if (!OnlyTwoWires(KindOf(sensorIndex)))
        entries << LoadedText(kThreeWireString) << LoadedText(kFourWireString);
    return entries;
}

QList<std::int32_t> UnitListCodes(int sensorIndex)
{
    switch (KindOf(sensorIndex)) {
    case SensorKind::ResistanceThermometer:
        return {kUnitCelsius, kUnitFahrenheit, kUnitRankine, kUnitKelvin, kUnitOhm};
    case SensorKind::Thermocouple:
        return {kUnitCelsius, kUnitFahrenheit, kUnitRankine, kUnitKelvin, kUnitMillivolt};
    case SensorKind::MillivoltInput: return {kUnitMillivolt};
    case SensorKind::OhmInput: return {kUnitOhm};
    case SensorKind::Empty:
    case SensorKind::NoSelection: break;
    }
    return {kUnitCelsius, kUnitFahrenheit, kUnitRankine, kUnitKelvin, kUnitMillivolt, kUnitOhm};
}

QStringList UnitListEntries(int sensorIndex)
{
    QStringList entries{QString()};
    for (const std::int32_t code : UnitListCodes(sensorIndex)) entries << UnitText(code);
    return entries;
}

std::int32_t ConnectionCodeFromIndex(int connectionIndex)
{
    switch (connectionIndex) {
    case 0: return kSensorNotSet;
    case 1: return kTwoWire;
    case 2: return kThreeWire;
    case 3: return kFourWire;
    default: return kTwoWire;
    }
}

int ConnectionIndexFromCode(int sensorIndex, std::int32_t connectionCode)
{
    switch (KindOf(sensorIndex)) {
    case SensorKind::ResistanceThermometer:
    case SensorKind::OhmInput:
        if (connectionCode == kTwoWire) return 1;
        if (connectionCode == kThreeWire) return 2;
        if (connectionCode == kFourWire) return 3;
        return 0;
    case SensorKind::Thermocouple:
    case SensorKind::MillivoltInput: return 1;
    case SensorKind::Empty:
    case SensorKind::NoSelection: break;
    }
    return 0;
}

std::int32_t UnitCodeFromIndex(int sensorIndex, int unitsIndex)
{
    const SensorKind kind = KindOf(sensorIndex);
    if (kind == SensorKind::MillivoltInput || kind == SensorKind::OhmInput) {
        if (unitsIndex != 1) return kUnitsNotSet;
        return kind == SensorKind::MillivoltInput ? kUnitMillivolt : kUnitOhm;
    }
    switch (unitsIndex) {
    case 1: return kUnitCelsius;
    case 2: return kUnitFahrenheit;
    case 3: return kUnitRankine;
    case 4: return kUnitKelvin;
    case 5: return kind == SensorKind::ResistanceThermometer ? kUnitOhm : kUnitMillivolt;
    case 6: return kUnitOhm;
    default: return kUnitsNotSet;
    }
}

int UnitsIndexFromCode(int sensorIndex, std::int32_t unitCode)
{
    if (unitCode == kUnitsNotSet) return 0;
    switch (KindOf(sensorIndex)) {
    case SensorKind::Empty: return 0;
    case SensorKind::ResistanceThermometer:
    case SensorKind::Thermocouple:
        if (unitCode >= kUnitCelsius && unitCode <= kUnitKelvin) return unitCode - kUnitCelsius + 1;
        return 5;
    case SensorKind::NoSelection:
        // The list then offers all six units; each selects its own entry, so a refresh
        // never rewrites a stored unit while the sensor type is unknown.
        if (unitCode >= kUnitCelsius && unitCode <= kUnitOhm) return unitCode - kUnitCelsius + 1;
        return 1;
    case SensorKind::MillivoltInput:
    case SensorKind::OhmInput: break;
    }
    return 1;
}

}  // namespace document
