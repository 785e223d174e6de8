#include <vector>

#include <QLocale>

#include <gtest/gtest.h>

#include "document/advanced_page_rules.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

TEST(AdvancedPageRules, ChoiceListsMapIndexesAndCodes)
{
    const std::pair<int, std::int32_t> indexToCode[] = {{0, 2}, {1, 0}, {2, 1}, {-1, 2}};
    for (const auto& [index, code] : indexToCode)
        EXPECT_EQ(ChoiceCodeFromIndex(index), code) << index;
    const std::pair<std::int32_t, int> codeToIndex[] = {{0, 1}, {1, 2}, {2, 0}, {239, 0}, {-1, 0}};
    for (const auto& [code, index] : codeToIndex)
        EXPECT_EQ(ChoiceIndexFromCode(code), index) << code;

    EXPECT_EQ(ChoiceListEntries(AdvancedChoice::AlarmSelect),
              (QStringList{QString(), QString::fromUtf8("Высокий"), QString::fromUtf8("Низкий")}));
    EXPECT_EQ(ChoiceListEntries(AdvancedChoice::LineFilter),
              (QStringList{QString(), QString::fromUtf8("60 Гц"), QString::fromUtf8("50 Гц")}));
    EXPECT_EQ(
        ChoiceListEntries(AdvancedChoice::WriteProtect),
        (QStringList{QString(), QString::fromUtf8("выключена"), QString::fromUtf8("включена")}));
}

TEST(AdvancedPageRules, SuggestedLevelsUseTheLocaleSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(LevelListEntries(AlarmLevel::LowAlarm), (QStringList{QString(), "3,50"}));
    EXPECT_EQ(LevelListEntries(AlarmLevel::HighAlarm), (QStringList{QString(), "21,00", "23,00"}));
    EXPECT_EQ(LevelListEntries(AlarmLevel::LowSaturation),
              (QStringList{QString(), "3,70", "3,90"}));
    EXPECT_EQ(LevelListEntries(AlarmLevel::HighSaturation),
              (QStringList{QString(), "20,50", "20,90"}));
    QLocale::setDefault(QLocale::c());
}

TEST(AdvancedPageRules, ChoosingTheLowAlarmBringsTheNoticeEveryTime)
{
    ScriptedUser user;
    NoticeAlarmChoice(2, user);
    NoticeAlarmChoice(1, user);
    NoticeAlarmChoice(0, user);
    NoticeAlarmChoice(2, user);
    EXPECT_EQ(user.ids(), (std::vector<int>{903, 903}));
    EXPECT_EQ(user.messages[0].icon, hart::MessageIcon::None);
}

}  // namespace
