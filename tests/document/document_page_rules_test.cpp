#include <cmath>
#include <vector>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/advanced_send_check.h"
#include "document/basic_page_view.h"
#include "document/basic_send_check.h"
#include "document/example_record.h"
#include "document/example_report.h"
#include "document/page_values.h"
#include "document/report_lines.h"
#include "document/vesk_doc.h"
#include "support/fake_sleeper.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

class DocumentPageRulesTest : public testing::Test {
protected:
    DocumentPageRulesTest()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        doc.OnNewDocument();
    }
    ~DocumentPageRulesTest() override { QLocale::setDefault(QLocale::c()); }

    void LoadExample()
    {
        const QString path = dir.filePath(QStringLiteral("example.4410"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kExampleRecord);
        file.close();
        ASSERT_TRUE(doc.OnOpenDocument(path));
        ASSERT_FALSE(doc.IsModified());
    }

    QStringList Report() const { return ReportText(ReportLines(PageValuesOf(doc))); }

    QTemporaryDir dir;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    CVeskDoc doc{user, ports, sleeper};
};

TEST_F(DocumentPageRulesTest, LoadedFilePrintsItsConfiguration)
{
    LoadExample();
    const QStringList report = Report();
    ASSERT_EQ(report.size(), 24);
    EXPECT_EQ(report.mid(0, 15), ExampleConfigurationReport());
    EXPECT_EQ(report.at(15), QString::fromUtf8("Температура сенсора:  "));
}

TEST_F(DocumentPageRulesTest, ValuesAreReadThroughTheTransformingGetters)
{
    transmitter::CTransmitter& t = doc.transmitter();
    const char16_t tag[] = u"ab12";
    std::copy(std::begin(tag), std::end(tag), t.tag);
    t.universalRev = 5;
    t.hardwareRev = 0x1F;  // the upper five bits are 3
    const QStringList report = Report();
    EXPECT_EQ(report.at(0), QString::fromUtf8("Тег датчика:   12"));
    EXPECT_EQ(report.at(21), QString::fromUtf8("Версия аппаратной части: 3"));
}

TEST_F(DocumentPageRulesTest, FailedFlagsAreTheDocuments)
{
    LoadExample();
    doc.transmitter().upperRangeValueFailed = 1;
    doc.transmitter().lineFilterFailed = 1;
    const PageValues values = PageValuesOf(doc);
    EXPECT_TRUE(values.failed.test(ValueFlag::UpperRangeValue));
    EXPECT_FALSE(values.failed.test(ValueFlag::LowerRangeValue));
    EXPECT_EQ(Report().mid(24), (QStringList{QString::fromUtf8("! Точка 20 мА"),
                                             QString::fromUtf8("! Фильтр 50/60 Гц")}));
}

TEST_F(DocumentPageRulesTest, RefreshStoresTheLimitsOfTheShownSensorAndUnit)
{
    LoadExample();
    ASSERT_TRUE(std::isnan(doc.lowerSensorLimit()));
    StoreBasicRefresh(doc);
    EXPECT_EQ(doc.lowerSensorLimit(), -200.0f);
    EXPECT_EQ(doc.upperSensorLimit(), 850.0f);
    EXPECT_EQ(doc.sensorLimitUnits(), 32);
    EXPECT_EQ(doc.rangeUnits(), 32);
    EXPECT_FALSE(doc.IsModified());  // the limits are not tracked, the unit did not change
}

TEST_F(DocumentPageRulesTest, RefreshTurnsAnUnofferedUnitIntoTheShownOne)
{
    LoadExample();
    doc.transmitter().rangeUnits = 36;  // millivolts for a resistance thermometer
    StoreBasicRefresh(doc);
    EXPECT_EQ(doc.rangeUnits(), 37);
    EXPECT_EQ(doc.sensorLimitUnits(), 37);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(doc.lowerSensorLimit()), 0x419428F6u);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentPageRulesTest, RefreshKeepsTheUnitOfAnUnknownSensor)
{
    LoadExample();
    doc.transmitter().sensorType = 2;  // a code the sensor table does not have
    doc.transmitter().rangeUnits = 33;
    StoreBasicRefresh(doc);
    EXPECT_EQ(doc.rangeUnits(), 33);
    EXPECT_TRUE(std::isnan(doc.upperSensorLimit()));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentPageRulesTest, ChoosingASensorStoresWhatItsListsShow)
{
    LoadExample();
    StoreSensorChoice(doc, 14);  // type K: two wires only, no ohms
    EXPECT_EQ(doc.sensorType(), 132);
    EXPECT_EQ(doc.sensorConnection(), 2);
    EXPECT_EQ(doc.rangeUnits(), 32);
    EXPECT_EQ(doc.lowerSensorLimit(), -180.0f);
    EXPECT_EQ(doc.upperSensorLimit(), 1372.0f);
    EXPECT_TRUE(doc.IsModified());

    StoreSensorChoice(doc, 21);  // the ohm input offers ohms only
    EXPECT_EQ(doc.sensorType(), 0);
    EXPECT_EQ(doc.sensorConnection(), 2);
    EXPECT_EQ(doc.rangeUnits(), 37);
    EXPECT_EQ(doc.upperSensorLimit(), 2000.0f);

    StoreSensorChoice(doc, 0);  // the empty entry: nothing chosen
    EXPECT_EQ(doc.sensorType(), 251);
    EXPECT_EQ(doc.sensorConnection(), 251);
    EXPECT_EQ(doc.rangeUnits(), 38);
    EXPECT_TRUE(std::isnan(doc.lowerSensorLimit()));
    EXPECT_TRUE(std::isnan(doc.upperSensorLimit()));
}

TEST_F(DocumentPageRulesTest, ChoosingNoUnitKeepsTheLimitsUnit)
{
    LoadExample();
    StoreBasicRefresh(doc);
    StoreUnitsChoice(doc, 1, 38);
    EXPECT_EQ(doc.sensorLimitUnits(), 32);
    EXPECT_EQ(doc.rangeUnits(), 38);
    EXPECT_TRUE(std::isnan(doc.lowerSensorLimit()));
}

TEST_F(DocumentPageRulesTest, PageChecksRunOnTheLoadedDocument)
{
    LoadExample();
    EXPECT_TRUE(ValidateBasicPage(doc, user));
    EXPECT_TRUE(ValidateAdvancedPage(doc, user));
    EXPECT_TRUE(user.messages.empty());

    doc.setUpperRangeValue(850.006f);  // no limits are stored, yet the page shows 850.00
    EXPECT_FALSE(ValidateBasicPage(doc, user));
    doc.setHighSatVal(transmitter::kNotSetFloat);
    EXPECT_FALSE(ValidateAdvancedPage(doc, user));
    EXPECT_EQ(user.ids(), (std::vector<int>{1271, 1253}));
    EXPECT_EQ(doc.upperRangeValue(), 850.006f);  // the checks store nothing
}

}  // namespace
