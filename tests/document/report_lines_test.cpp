#include <QLocale>

#include <gtest/gtest.h>

#include "document/advanced_page_rules.h"
#include "document/example_report.h"
#include "document/information_texts.h"
#include "document/report_lines.h"

using namespace document;

namespace {

QStringList Lines(std::initializer_list<const char*> utf8)
{
    QStringList lines;
    for (const char* line : utf8) lines << QString::fromUtf8(line);
    return lines;
}

// The saved configuration of the file format's example: PT100, four wires, °C, 0…100,
// damping 5 s, levels 3.75 / 21.75 / 3.9 / 20.5, 50 Hz filter, write protection off.
PageValues ExampleConfiguration()
{
    PageValues v;
    v.sensorType = 1;
    v.sensorConnection = 4;
    v.rangeUnits = 32;
    v.lowerRangeValue = 0.0f;
    v.upperRangeValue = 100.0f;
    v.damping = 5.0f;
    v.alarmSelect = 0;
    v.lowAlmVal = 3.75f;
    v.highAlmVal = 21.75f;
    v.lowSatVal = 3.9f;
    v.highSatVal = 20.5f;
    v.lineFilter = 1;
    v.writeProtect = 0;
    return v;
}

// What the report shows of a configuration without live values or identification.
const QStringList kEmptyInformation = Lines({
    "Температура сенсора:  ",
    "Аналоговый выход:  ",
    "Температура датчика:  ",
    "Неисправность сенсора: ",
    "Неисправность датчика: ",
    "Версия программы: ",
    "Версия аппаратной части: ",
    "Конечный номер сборки: ",
    "Дата сборки трансмиттера: ",
});

class ReportLinesTest : public testing::Test {
protected:
    ReportLinesTest() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~ReportLinesTest() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(ReportLinesTest, ClearedDocumentPrintsLabelsOnly)
{
    const std::vector<ReportLine> lines = ReportLines(PageValues{});
    ASSERT_EQ(lines.size(), 24u);
    const std::vector<int> labelIds = {1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109,
                                       1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117,
                                       1118, 1119, 1120, 1121, 1124, 1125, 1126, 1135};
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].labelId, labelIds[i]) << i;

    // Unit lines keep the space after ": " when the value is empty.
    const QStringList expected = Lines({
                                     "Тег датчика: ",
                                     "Тип сенсора: ",
                                     "Соединение сенсора: ",
                                     "Точка 4 мА:  ",
                                     "Точка 20 мА:  ",
                                     "Нижний предел диапазона:  ",
                                     "Верхний предел диапазона:  ",
                                     "Демпфирование:  ",
                                     "Тип аварии: ",
                                     "Низкий уровень аварии:  ",
                                     "Высокий уровень аварии:  ",
                                     "Нижнее насыщение:  ",
                                     "Верхнее насыщение:  ",
                                     "Фильтр 50/60 Гц: ",
                                     "Защита записи: ",
                                 }) +
                                 kEmptyInformation;
    EXPECT_EQ(ReportText(lines), expected);
}

TEST_F(ReportLinesTest, ConfigurationPrintsValuesWithUnits)
{
    const QStringList expected = ExampleConfigurationReport() + kEmptyInformation;
    EXPECT_EQ(ReportText(ReportLines(ExampleConfiguration())), expected);
}

TEST_F(ReportLinesTest, ValuesUseTheLocaleSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QStringList text = ReportText(ReportLines(ExampleConfiguration()));
    EXPECT_EQ(text.at(10), QString::fromUtf8("Высокий уровень аварии: 21,75 мА"));
    EXPECT_EQ(text.at(5), QString::fromUtf8("Нижний предел диапазона: -200,00 °C"));
}

TEST_F(ReportLinesTest, UnsetTwentyMilliampPointPrintsNoUnit)
{
    PageValues v = ExampleConfiguration();
    v.upperRangeValue = transmitter::kNotSetFloat;
    const std::vector<ReportLine> lines = ReportLines(v);
    EXPECT_EQ(lines[4].value, QString());
    EXPECT_TRUE(lines[4].hasUnit());
    EXPECT_EQ(lines[4].valueColumnText(), QStringLiteral(":  "));
    EXPECT_EQ(lines[3].valueColumnText(), QString::fromUtf8(": 0.00 °C"));
}

TEST_F(ReportLinesTest, ChoicesNotInTheirTablesPrintEmpty)
{
    PageValues v = ExampleConfiguration();
    v.sensorType = 2;  // no such sensor: no selection, so no limits either
    v.alarmSelect = 239;
    v.lineFilter = 2;
    v.writeProtect = 7;
    const QStringList text = ReportText(ReportLines(v));
    EXPECT_EQ(text.at(1), QString::fromUtf8("Тип сенсора: "));
    EXPECT_EQ(text.at(2), QString::fromUtf8("Соединение сенсора: "));
    EXPECT_EQ(text.at(3), QString::fromUtf8("Точка 4 мА: 0.00 "));  // no sensor, so no unit label
    EXPECT_EQ(text.at(5), QString::fromUtf8("Нижний предел диапазона:  "));
    EXPECT_EQ(text.at(8), QString::fromUtf8("Тип аварии: "));
    EXPECT_EQ(text.at(13), QString::fromUtf8("Фильтр 50/60 Гц: "));
    EXPECT_EQ(text.at(14), QString::fromUtf8("Защита записи: "));
}

TEST_F(ReportLinesTest, InformationLinesOneAndThreeAlwaysPrintTheirUnitLabel)
{
    PageValues v;
    v.sensorTempUnits = 32;  // a unit without a value
    v.xmtrTemp = 24.5f;      // a value without a unit
    const QStringList text = ReportText(ReportLines(v));
    EXPECT_EQ(text.at(15), QString::fromUtf8("Температура сенсора:  °C"));
    EXPECT_EQ(text.at(17), QString::fromUtf8("Температура датчика: 24.50 "));
}

TEST_F(ReportLinesTest, LiveValuesAndIdentification)
{
    PageValues v;
    v.sensorTemp = 21.754f;
    v.sensorTempUnits = 33;
    v.loopCurrent = 12.0f;
    v.xmtrTemp = 30.0f;
    v.xmtrTempUnits = 35;
    v.sensorFailure = 1;
    v.universalRev = 5;
    v.deviceRev = 1;
    v.softwareRev = 12;
    v.hardwareRev = 3;
    v.finalAssemblyNumber = 123456;
    v.xmtrAsmDay = 15;
    v.xmtrAsmMonth = 6;
    v.xmtrAsmYear = 123;
    const QStringList text = ReportText(ReportLines(v));
    EXPECT_EQ(text.mid(15), Lines({
                                "Температура сенсора: 21.75 °F",
                                "Аналоговый выход: 12.00 мА",
                                "Температура датчика: 30.00 °K",
                                "Неисправность сенсора: Да",
                                "Неисправность датчика: Нет",
                                "Версия программы: 5.1.12",
                                "Версия аппаратной части: 3",
                                "Конечный номер сборки: 123456",
                                "Дата сборки трансмиттера: 15.6.123",
                            }));
}

TEST_F(ReportLinesTest, FaultLinesAreEmptyWithoutLoopCurrent)
{
    PageValues v;
    v.sensorFailure = 1;
    v.xmtrFailure = 1;
    const InformationTexts info = InformationTextsOf(v);
    EXPECT_TRUE(info.sensorFaultLamp);
    EXPECT_TRUE(info.xmtrFaultLamp);
    const std::vector<ReportLine> lines = ReportLines(v);
    EXPECT_EQ(lines[18].value, QString());
    EXPECT_EQ(lines[19].value, QString());
}

TEST_F(ReportLinesTest, IdentificationIsEmptyUntilIdentified)
{
    PageValues v;
    v.deviceRev = 1;
    v.hardwareRev = 3;
    v.finalAssemblyNumber = 99;
    v.xmtrAsmDay = 1;
    const InformationTexts info = InformationTextsOf(v);
    EXPECT_TRUE(info.softwareVersion.isEmpty());
    EXPECT_TRUE(info.hardwareVersion.isEmpty());
    EXPECT_TRUE(info.serialNumber.isEmpty());
    EXPECT_TRUE(info.manufacturingDate.isEmpty());
}

TEST_F(ReportLinesTest, FlaggedValuesFollowAsMarkedLinesInReportOrder)
{
    PageValues v = ExampleConfiguration();
    v.failed.set(ValueFlag::WriteProtect);
    v.failed.set(ValueFlag::Tag);
    v.failed.set(ValueFlag::HighSatVal);
    const QStringList text = ReportText(ReportLines(v));
    ASSERT_EQ(text.size(), 27);
    EXPECT_EQ(text.mid(24), Lines({"! Тег датчика", "! Верхнее насыщение", "! Защита записи"}));
}

TEST_F(ReportLinesTest, EachFlagMarksItsOwnLine)
{
    struct Case {
        ValueFlag flag;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {ValueFlag::Tag, {0}},
        {ValueFlag::SensorType, {1}},
        {ValueFlag::SensorConnection, {2}},
        {ValueFlag::LowerRangeValue, {3}},
        {ValueFlag::UpperRangeValue, {4}},
        {ValueFlag::RangeUnits, {3, 4}},  // the unit printed beside both points
        {ValueFlag::LowerSensorLimit, {5}},
        {ValueFlag::UpperSensorLimit, {6}},
        {ValueFlag::Damping, {7}},
        {ValueFlag::AlarmSelect, {8}},
        {ValueFlag::LowAlmVal, {9}},
        {ValueFlag::HighAlmVal, {10}},
        {ValueFlag::LowSatVal, {11}},
        {ValueFlag::HighSatVal, {12}},
        {ValueFlag::LineFilter, {13}},
        {ValueFlag::WriteProtect, {14}},
    };
    for (const Case& c : cases) {
        PageValues v;
        v.failed.set(c.flag);
        const std::vector<ReportLine> lines = ReportLines(v);
        std::vector<int> failed;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].failed) failed.push_back(static_cast<int>(i));
        EXPECT_EQ(failed, c.lines) << static_cast<int>(c.flag);
    }
}

TEST_F(ReportLinesTest, AdvancedPageViewOfTheExample)
{
    const AdvancedPageView view = AdvancedPageViewOf(ExampleConfiguration());
    EXPECT_EQ(view.alarmIndex, 1);
    EXPECT_EQ(view.lineFilterIndex, 2);
    EXPECT_EQ(view.writeProtectIndex, 1);
    EXPECT_EQ(view.lowSaturationText, QStringLiteral("3.90"));
    EXPECT_FALSE(view.flagged);
}

}  // namespace
