// The document's device commands against the simulated transmitter over the real driver
// library: the order of questions, messages, hints and progress.
#include <cmath>

#include <gtest/gtest.h>

#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

class DocumentDeviceTest : public testing::Test {
protected:
    DocumentDeviceTest()
    {
        sim::SimulatorSetup setup;
        setup.process.noise = 0;
        host = std::make_unique<sim::SimulatorHost>(setup);
        const auto endpoint = host->start();
        if (!endpoint) throw std::runtime_error(host->error());
        ports.setPortNumber(endpoint->comNumber);
        QObject::connect(&doc, &CVeskDoc::updateViews, [this](int hint) {
            hints.push_back(hint);
            if (hint == HINT_REFRESH) progress.push_back(doc.progress());
        });
        doc.OnNewDocument();
        hints.clear();
        progress.clear();
    }

    TempPortMapDir portMap;
    std::unique_ptr<sim::SimulatorHost> host;
    ScriptedUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports{0};
    CVeskDoc doc{user, ports, sleeper};
    std::vector<int> hints;
    std::vector<int> progress;
};

}  // namespace

TEST_F(DocumentDeviceTest, ReadFillsEverythingInOrder)
{
    EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Done);
    EXPECT_EQ(user.ids(), (std::vector<int>{899}));
    EXPECT_EQ(hints.front(), HINT_DISABLE_PAGES);
    EXPECT_EQ(hints.back(), HINT_ENABLE_PAGES);
    EXPECT_EQ(progress, (std::vector<int>{16, 32, 48, 64, 80, 100, 0}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.IsCleared());
    EXPECT_TRUE(doc.CanSave());
    EXPECT_EQ(doc.sensorType(), 1);
    EXPECT_EQ(doc.upperRangeValue(), 100.0f);
    EXPECT_EQ(doc.highAlmVal(), 21.0f);
    EXPECT_EQ(doc.transmitter().deviceId, 0x0A1B2C);

    // Now there is something to lose: the next read asks first.
    user.answers = {IDNO};
    EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Cancelled);
    EXPECT_EQ(user.questions.back().id, 904);
}

TEST_F(DocumentDeviceTest, FailedThirdGroupWipesTheEarlierOnesOnly)
{
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[150] = 64; });
    EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Failed);
    EXPECT_EQ(user.ids(), (std::vector<int>{1023, 1470}));
    EXPECT_EQ(progress, (std::vector<int>{16, 32, 48, 64, 80, 100, 0}));
    // Groups 1 and 2 are gone ...
    EXPECT_EQ(doc.sensorType(), 251);
    EXPECT_EQ(doc.tag()[0], u'\0');
    EXPECT_TRUE(std::isnan(doc.upperRangeValue()));
    // ... groups 4 to 6 are there.
    EXPECT_EQ(doc.highAlmVal(), 21.0f);
    EXPECT_FALSE(std::isnan(doc.loopCurrent()));
    EXPECT_EQ(doc.transmitter().headType, 3);
    EXPECT_FALSE(doc.IsCleared());
}

TEST_F(DocumentDeviceTest, SendBasicWritesAndEndsWithTransferComplete)
{
    doc.setDamping(2.5f);
    doc.setUpperRangeValue(200.0f);
    user.answers = {IDOK};
    EXPECT_TRUE(doc.OnSendBasic());
    EXPECT_EQ(user.ids(), (std::vector<int>{900}));
    EXPECT_EQ(progress, (std::vector<int>{0, 20, 40, 60, 80, 100, 0}));
    const auto config = host->withDevice([](sim::Device& d) { return d.state().config; });
    EXPECT_EQ(config.dampingS, 2.5f);
    EXPECT_EQ(config.upperRangeValue, 200.0f);
}

TEST_F(DocumentDeviceTest, SendBasicRefusedByWriteProtection)
{
    host->withDevice([](sim::Device& d) { d.state().config.writeProtect = 1; });
    user.answers = {IDOK};
    EXPECT_FALSE(doc.OnSendBasic());
    EXPECT_EQ(user.ids(), (std::vector<int>{1004}));
}

TEST_F(DocumentDeviceTest, SendAdvancedOnProtectedTransmitter)
{
    host->withDevice([](sim::Device& d) { d.state().config.writeProtect = 1; });
    // The document wants protection on: nothing can be written.
    doc.setWriteProtect(1);
    EXPECT_FALSE(doc.OnSendAdvanced());
    EXPECT_EQ(user.ids(), (std::vector<int>{1004}));

    // The document wants it off: protection is switched off first, then the rest goes.
    user.messages.clear();
    doc.setWriteProtect(0);
    doc.setLowAlmVal(3.6f);
    EXPECT_TRUE(doc.OnSendAdvanced());
    EXPECT_EQ(user.ids(), (std::vector<int>{900}));
    const auto config = host->withDevice([](sim::Device& d) { return d.state().config; });
    EXPECT_EQ(config.writeProtect, 0);
    EXPECT_EQ(config.lowAlarmMa, 3.6f);
}

TEST_F(DocumentDeviceTest, LiveValuesRefreshThroughTheMonitoringRead)
{
    // Monitoring starts with the search, which gives the long address every read needs.
    ASSERT_TRUE(doc.FindTransmitter(false));
    doc.RestoreCursor();
    doc.ReadMonitoringValues();
    EXPECT_NEAR(doc.sensorTemp(), 25.0f, 0.01f);
    EXPECT_EQ(doc.sensorTempUnits(), 32);
    EXPECT_EQ(doc.finalAssemblyNumber(), 441001);
    EXPECT_EQ(doc.sensorFailure(), 0);

    host->withDevice([](sim::Device& d) { d.faults().sensorFailure = sim::SensorFailure::Open; });
    doc.ReadMonitoringValues();
    EXPECT_EQ(doc.sensorFailure(), 1);
    EXPECT_EQ(doc.xmtrFailure(), 0);
    EXPECT_TRUE(user.messages.empty());
}
