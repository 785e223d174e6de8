#include "document/basic_page_view.h"

#include "document/display_text.h"
#include "document/value_format.h"
#include "transmitter/sensor_table.h"

namespace document {
namespace {

constexpr int kPointDecimals = 2;
constexpr int kDampingDecimals = 1;

}  // namespace

UnitsDisplay UnitsDisplayFor(int sensorIndex, int unitsIndex)
{
    UnitsDisplay d;
    d.unitCode = UnitCodeFromIndex(sensorIndex, unitsIndex);
    const auto [lower, upper] = transmitter::SensorLimits(sensorIndex, d.unitCode);
    d.lowerSensorLimit = lower;
    d.upperSensorLimit = upper;
    const bool chosen = sensorIndex > 0 && unitsIndex > 0;
    const QString symbol = UnitText(d.unitCode);
    if (chosen && !transmitter::IsNotSet(lower)) {
        d.lowerLimitText = FormatValue(lower, kPointDecimals);
        d.lowerUnitLabel = symbol;
    }
    if (chosen && !transmitter::IsNotSet(upper)) {
        d.upperLimitText = FormatValue(upper, kPointDecimals);
        d.upperUnitLabel = symbol;
    }
    return d;
}

QString TagText(const CVeskDoc::Tag& tag)
{
    qsizetype length = 0;
    while (length < static_cast<qsizetype>(tag.size()) && tag[length] != 0) ++length;
    return QString::fromUtf16(tag.data(), length);
}

BasicPageView BasicPageViewOf(const PageValues& values)
{
    BasicPageView view;
    view.sensorIndex = SensorListIndex(values.sensorType);
    view.connectionEntries = ConnectionListEntries(view.sensorIndex);
    view.unitEntries = UnitListEntries(view.sensorIndex);
    view.connectionIndex = ConnectionIndexFromCode(view.sensorIndex, values.sensorConnection);
    view.unitsIndex = UnitsIndexFromCode(view.sensorIndex, values.rangeUnits);
    view.units = UnitsDisplayFor(view.sensorIndex, view.unitsIndex);
    view.tag = TagText(values.tag);
    view.sensorText = EntryText(SensorListEntries(), view.sensorIndex);
    view.connectionText = EntryText(view.connectionEntries, view.connectionIndex);
    view.lowerRangeText = FormatValue(values.lowerRangeValue, kPointDecimals);
    view.upperRangeText = FormatValue(values.upperRangeValue, kPointDecimals);
    view.dampingText = FormatValue(values.damping, kDampingDecimals);
    const FailedFlags& f = values.failed;
    view.flagged = f.test(ValueFlag::Tag) || f.test(ValueFlag::SensorType) ||
                   f.test(ValueFlag::SensorConnection) || f.test(ValueFlag::RangeUnits) ||
                   f.test(ValueFlag::LowerRangeValue) || f.test(ValueFlag::UpperRangeValue) ||
                   f.test(ValueFlag::Damping);
    return view;
}

void StoreUnitsChoice(CVeskDoc& doc, int sensorIndex, std::int32_t unitCode)
{
    if (unitCode != transmitter::kUnitsNotSet) doc.setSensorLimitUnits(unitCode);
    const auto [lower, upper] = transmitter::SensorLimits(sensorIndex, unitCode);
    doc.setLowerSensorLimit(lower);
    doc.setUpperSensorLimit(upper);
    if (unitCode != doc.rangeUnits()) doc.setRangeUnits(unitCode);
}

void StoreSensorChoice(CVeskDoc& doc, int sensorIndex)
{
    const int connectionIndex = ConnectionIndexFromCode(sensorIndex, doc.sensorConnection());
    const std::int32_t unitCode =
        UnitCodeFromIndex(sensorIndex, UnitsIndexFromCode(sensorIndex, doc.rangeUnits()));
    doc.setSensorType(transmitter::SensorCodeFromIndex(sensorIndex));
    const auto [lower, upper] = transmitter::SensorLimits(sensorIndex, unitCode);
    doc.setLowerSensorLimit(lower);
    doc.setUpperSensorLimit(upper);
    doc.setSensorConnection(ConnectionCodeFromIndex(connectionIndex));
    doc.setRangeUnits(unitCode);
}

void StoreBasicRefresh(CVeskDoc& doc)
{
    const BasicPageView view = BasicPageViewOf(PageValuesOf(doc));
    StoreUnitsChoice(doc, view.sensorIndex, view.units.unitCode);
}

}  // namespace document
