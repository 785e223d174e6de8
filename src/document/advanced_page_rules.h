#pragma once

#include <cstdint>

#include <QList>
#include <QString>
#include <QStringList>

#include "document/page_values.h"

namespace document {

// The Advanced page's three choice lists share one shape: the empty entry, then the
// entries for codes 0 and 1.
enum class AdvancedChoice { AlarmSelect, LineFilter, WriteProtect };
QStringList ChoiceListEntries(AdvancedChoice choice);
// 2 (not set) for the empty entry and for no selection.
std::int32_t ChoiceCodeFromIndex(int index);
// Codes outside the list select the empty entry.
int ChoiceIndexFromCode(std::int32_t code);

// Choosing the low alarm (index 2) brings a notice, every time: a processor failure
// still drives the high alarm. Shows string 903 when the index calls for it.
void NoticeAlarmChoice(int alarmIndex, hart::UserInteraction& ui);

// The four level boxes: the empty entry, then suggested values in mA.
enum class AlarmLevel { LowAlarm, HighAlarm, LowSaturation, HighSaturation };
QList<float> SuggestedLevels(AlarmLevel level);
QStringList LevelListEntries(AlarmLevel level);

// What the Advanced page shows for the values after its refresh.
struct AdvancedPageView {
    int alarmIndex = 0;
    int lineFilterIndex = 0;
    int writeProtectIndex = 0;
    QString alarmText;  // the selected entries
    QString lineFilterText;
    QString writeProtectText;
    QString lowAlarmText;  // the level boxes' text fields
    QString highAlarmText;
    QString lowSaturationText;
    QString highSaturationText;
    bool flagged = false;
};
AdvancedPageView AdvancedPageViewOf(const PageValues& values);

}  // namespace document
