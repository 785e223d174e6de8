#include "document/report_lines.h"

#include "document/advanced_page_rules.h"
#include "document/basic_page_view.h"
#include "document/display_text.h"
#include "document/information_texts.h"
#include "resources/string_ids.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

using tarvel::kReportNo;
using tarvel::kReportYes;
using tarvel::kSecondUnit;

ReportLine Line(const PageValues& values, int labelId, const QString& value,
                ReportUnit unitRule = ReportUnit::None, const QString& unit = {},
                std::vector<ValueFlag> flags = {})
{
    ReportLine line{labelId, LoadedText(labelId), value, unit, unitRule, std::move(flags), false};
    for (const ValueFlag flag : line.flags) line.failed = line.failed || values.failed.test(flag);
    return line;
}

}  // namespace

QString ReportLine::valueColumnText() const
{
    QString text = QStringLiteral(": ") + value;
    if (unitRule == ReportUnit::None) return text;
    text += QLatin1Char(' ');
    if (unitRule == ReportUnit::Always || !value.isEmpty()) text += unit;
    return text;
}

std::vector<ReportLine> ReportLines(const PageValues& values)
{
    using enum ReportUnit;
    using enum ValueFlag;
    const BasicPageView basic = BasicPageViewOf(values);
    const AdvancedPageView advanced = AdvancedPageViewOf(values);
    const InformationTexts info = InformationTextsOf(values);
    const QString milliamperes = LoadedText(tarvel::kMilliampereUnit);
    // The fault lines say nothing while no live values are shown.
    const auto lamp = [&](bool red) {
        return info.loopCurrent.isEmpty() ? QString() : LoadedText(red ? kReportYes : kReportNo);
    };

    return {
        Line(values, 1102, basic.tag, None, {}, {Tag}),
        Line(values, 1103, basic.sensorText, None, {}, {SensorType}),
        Line(values, 1104, basic.connectionText, None, {}, {SensorConnection}),
        Line(values, 1105, basic.lowerRangeText, WhenValueSet, basic.units.lowerUnitLabel,
             {LowerRangeValue, RangeUnits}),
        Line(values, 1106, basic.upperRangeText, WhenValueSet, basic.units.upperUnitLabel,
             {UpperRangeValue, RangeUnits}),
        Line(values, 1107, basic.units.lowerLimitText, WhenValueSet, basic.units.lowerUnitLabel,
             {LowerSensorLimit}),
        Line(values, 1108, basic.units.upperLimitText, WhenValueSet, basic.units.upperUnitLabel,
             {UpperSensorLimit}),
        Line(values, 1109, basic.dampingText, WhenValueSet, LoadedText(kSecondUnit), {Damping}),

        Line(values, 1110, advanced.alarmText, None, {}, {AlarmSelect}),
        Line(values, 1111, advanced.lowAlarmText, WhenValueSet, milliamperes, {LowAlmVal}),
        Line(values, 1112, advanced.highAlarmText, WhenValueSet, milliamperes, {HighAlmVal}),
        Line(values, 1113, advanced.lowSaturationText, WhenValueSet, milliamperes, {LowSatVal}),
        Line(values, 1114, advanced.highSaturationText, WhenValueSet, milliamperes, {HighSatVal}),
        Line(values, 1115, advanced.lineFilterText, None, {}, {LineFilter}),
        Line(values, 1116, advanced.writeProtectText, None, {}, {WriteProtect}),

        Line(values, 1117, info.sensorTemp, Always, info.sensorTempUnit),
        Line(values, 1118, info.loopCurrent, WhenValueSet, milliamperes),
        Line(values, 1119, info.xmtrTemp, Always, info.xmtrTempUnit),
        Line(values, 1120, lamp(info.sensorFaultLamp)),
        Line(values, 1121, lamp(info.xmtrFaultLamp)),
        Line(values, 1124, info.softwareVersion),
        Line(values, 1125, info.hardwareVersion),
        Line(values, 1126, info.serialNumber),
        Line(values, 1135, info.manufacturingDate),
    };
}

QStringList ReportText(const std::vector<ReportLine>& lines)
{
    QStringList text;
    for (const ReportLine& line : lines) text << line.label + line.valueColumnText();
    for (const ReportLine& line : lines)
        if (line.failed) text << QStringLiteral("! ") + line.label;
    return text;
}

}  // namespace document
