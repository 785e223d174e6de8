#include <cmath>
#include <limits>

#include <QLocale>

#include <gtest/gtest.h>

#include "document/value_format.h"
#include "transmitter/parameter_values.h"

using namespace document;

namespace {

// Each test picks the numeric locale the program would have taken from the environment.
class LocaleTest : public testing::Test {
protected:
    ~LocaleTest() override { QLocale::setDefault(QLocale::c()); }
    static void UseRussian() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    static void UseEnglish()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

struct FormatCase {
    float value;
    int decimals;
    const char* english;
    const char* russian;
};

const FormatCase kFormatCases[] = {
    {21.75f, 2, "21.75", "21,75"},
    {21.75f, 1, "21.8", "21,8"},  // 21.75 is exact: ties go to even
    {0.0f, 2, "0.00", "0,00"},
    {-200.0f, 2, "-200.00", "-200,00"},
    {-0.001f, 2, "-0.00", "-0,00"},  // as printf: the sign stays
    {3.7f, 2, "3.70", "3,70"},       // the float is 3.70000005
    {2.675f, 2, "2.67", "2,67"},     // the float is 2.67499995
    {0.125f, 2, "0.12", "0,12"},     // exact tie, to even
    {0.375f, 2, "0.38", "0,38"},     // exact tie, to even
    {2501.5999f, 2, "2501.60", "2501,60"},
    {1562.0f, 2, "1562.00", "1562,00"},  // no group separator
    {123456.0f, 1, "123456.0", "123456,0"},
    {5.0f, 1, "5.0", "5,0"},
    {0.05f, 1, "0.1", "0,1"},  // the float is 0.0500000007
};

TEST_F(LocaleTest, FormatValueMatchesPrintfWithTheLocaleSeparator)
{
    for (const FormatCase& c : kFormatCases) {
        UseEnglish();
        EXPECT_EQ(FormatValue(c.value, c.decimals), QString::fromUtf8(c.english)) << c.english;
        UseRussian();
        EXPECT_EQ(FormatValue(c.value, c.decimals), QString::fromUtf8(c.russian)) << c.russian;
    }
}

TEST_F(LocaleTest, FormatValueIsEmptyForEveryNaN)
{
    UseRussian();
    EXPECT_EQ(FormatValue(transmitter::kNotSetFloat, 2), QString());
    EXPECT_EQ(FormatValue(std::numeric_limits<float>::quiet_NaN(), 1), QString());
    EXPECT_EQ(FormatValue(-std::numeric_limits<float>::quiet_NaN(), 2), QString());
    EXPECT_EQ(FormatValue(std::bit_cast<float>(std::uint32_t{0xFFFFFFFF}), 2), QString());
}

TEST_F(LocaleTest, FormatValueOfTheLargestFloatIsComplete)
{
    UseEnglish();
    const QString text = FormatValue(std::numeric_limits<float>::max(), 2);
    EXPECT_TRUE(text.startsWith(QStringLiteral("340282346638528859811704183484516925440")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(".00")));
}

struct FilterCase {
    const char16_t* text;
    bool allowNegative;
    const char16_t* expected;
};

// Under the Russian locale the separator is a comma and a point is just another character.
const FilterCase kRussianFilterCases[] = {
    {u"1,2,3", true, u"1,23"},  {u"12,5", false, u"12,5"}, {u"1.5", true, u"15"},
    {u"abc", true, u""},        {u"4a0", false, u"40"},    {u"-12,5", true, u"-12,5"},
    {u"-12,5", false, u"12,5"}, {u"5-3", true, u"53"},     {u"--5", true, u"-5"},
    {u"x-5", true, u"5"},  // a minus only as the text's first character
    {u" -5", true, u"5"},       {u",5", true, u",5"},      {u"3,5,0", false, u"3,50"},
    {u"١٢", true, u""},  // digits of other scripts are not 0–9
    {u"", true, u""},
};

TEST_F(LocaleTest, FilterNumericTextKeepsDigitsOneSeparatorAndALeadingMinus)
{
    UseRussian();
    for (const FilterCase& c : kRussianFilterCases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(FilterNumericText(text, c.allowNegative), QString::fromUtf16(c.expected))
            << text.toStdString();
    }
}

TEST_F(LocaleTest, FilterNumericTextUsesThePointUnderEnglish)
{
    UseEnglish();
    EXPECT_EQ(FilterNumericText(QStringLiteral("1,2.3.4"), true), QStringLiteral("12.34"));
}

TEST_F(LocaleTest, FilterNumericTextStopsAtAZeroCharacter)
{
    UseEnglish();
    QString text = QStringLiteral("12");
    text += QChar(0);
    text += QStringLiteral("34");
    EXPECT_EQ(FilterNumericText(text, true), QStringLiteral("12"));
}

struct ParseCase {
    const char16_t* text;
    float expected;
};

const ParseCase kRussianParseCases[] = {
    {u"21,75", 21.75f}, {u"-200,01", -200.01f}, {u"3,", 3.0f},
    {u",5", 0.5f},      {u"-", 0.0f},           {u",", 0.0f},
    {u"3.5", 3.0f},     {u"0,005", 0.005f},     {u"850,006", 850.006f},
};

TEST_F(LocaleTest, ParseValueTextReadsTheNumberTheTextBeginsWith)
{
    UseRussian();
    for (const ParseCase& c : kRussianParseCases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ParseValueText(text), c.expected) << text.toStdString();
    }
    UseEnglish();
    EXPECT_EQ(ParseValueText(QStringLiteral("3.5")), 3.5f);
    EXPECT_EQ(ParseValueText(QStringLiteral("3,5")), 3.0f);
}

TEST_F(LocaleTest, AnEmptyTextIsNotSet)
{
    UseRussian();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(ParseValueText(QString())),
              transmitter::kNotSetFloatBits);
}

TEST_F(LocaleTest, ShownValuesReadBackAsShown)
{
    for (const float value : {21.75f, -200.0f, 3.7f, 20.9f, 0.01f}) {
        UseRussian();
        EXPECT_EQ(ParseValueText(FormatValue(value, 2)), value);
        UseEnglish();
        EXPECT_EQ(ParseValueText(FormatValue(value, 2)), value);
    }
}

}  // namespace
