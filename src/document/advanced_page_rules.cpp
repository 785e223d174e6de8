#include "document/advanced_page_rules.h"

#include "document/display_text.h"
#include "document/value_format.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

constexpr int kLevelDecimals = 2;
constexpr int kLowAlarmNoticeIndex = 2;
using tarvel::kLowAlarmNotice;

int FirstStringOf(AdvancedChoice choice)
{
    switch (choice) {
    case AdvancedChoice::AlarmSelect: return 400;   // "Высокий", "Низкий"
    case AdvancedChoice::LineFilter: return 500;    // "60 Гц", "50 Гц"
    case AdvancedChoice::WriteProtect: return 600;  // "выключена", "включена"
    }
    return 0;
}

}  // namespace

QStringList ChoiceListEntries(AdvancedChoice choice)
{
    const int first = FirstStringOf(choice);
    return {QString(), LoadedText(first), LoadedText(first + 1)};
}

std::int32_t ChoiceCodeFromIndex(int index)
{
    if (index == 1) return 0;
    if (index == 2) return 1;
    return transmitter::kChoiceNotSet;
}

int ChoiceIndexFromCode(std::int32_t code)
{
    if (code == 0) return 1;
    if (code == 1) return 2;
    return 0;
}

void NoticeAlarmChoice(int alarmIndex, hart::UserInteraction& ui)
{
    if (alarmIndex == kLowAlarmNoticeIndex)
        hart::NotifyString(ui, kLowAlarmNotice, hart::MessageIcon::None);
}

QList<float> SuggestedLevels(AlarmLevel level)
{
    switch (level) {
    case AlarmLevel::LowAlarm: return {3.5f};
    case AlarmLevel::HighAlarm: return {21.0f, 23.0f};
    case AlarmLevel::LowSaturation: return {3.7f, 3.9f};
    case AlarmLevel::HighSaturation: return {20.5f, 20.9f};
    }
    return {};
}

QStringList LevelListEntries(AlarmLevel level)
{
    QStringList entries{QString()};
    for (const float value : SuggestedLevels(level)) entries << FormatValue(value, kLevelDecimals);
    return entries;
}

AdvancedPageView AdvancedPageViewOf(const PageValues& values)
{
    AdvancedPageView view;
    view.alarmIndex = ChoiceIndexFromCode(values.alarmSelect);
    view.lineFilterIndex = ChoiceIndexFromCode(values.lineFilter);
    view.writeProtectIndex = ChoiceIndexFromCode(values.writeProtect);
    view.alarmText = EntryText(ChoiceListEntries(AdvancedChoice::AlarmSelect), view.alarmIndex);
    view.lineFilterText =
        EntryText(ChoiceListEntries(AdvancedChoice::LineFilter), view.lineFilterIndex);
    view.writeProtectText =
        EntryText(ChoiceListEntries(AdvancedChoice::WriteProtect), view.writeProtectIndex);
    view.lowAlarmText = FormatValue(values.lowAlmVal, kLevelDecimals);
    view.highAlarmText = FormatValue(values.highAlmVal, kLevelDecimals);
    view.lowSaturationText = FormatValue(values.lowSatVal, kLevelDecimals);
    view.highSaturationText = FormatValue(values.highSatVal, kLevelDecimals);
    const FailedFlags& f = values.failed;
    view.flagged = f.test(ValueFlag::AlarmSelect) || f.test(ValueFlag::LowAlmVal) ||
                   f.test(ValueFlag::HighAlmVal) || f.test(ValueFlag::LowSatVal) ||
                   f.test(ValueFlag::HighSatVal) || f.test(ValueFlag::LineFilter) ||
                   f.test(ValueFlag::WriteProtect);
    return view;
}

}  // namespace document
