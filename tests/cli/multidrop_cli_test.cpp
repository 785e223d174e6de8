// The command line on a multidrop line: the scan and a transmitter away from address 0,
// tarvel4410-cli as a separate process against the simulated line.
#include <map>
#include <set>

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "simulator/multidrop_setup.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"

namespace {

struct CliResult {
    int exitCode;
    QStringList lines;
};

class MultidropCli : public testing::Test {
protected:
    MultidropCli() { setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1); }

    void Start(std::vector<sim::SimulatorSetup> setups)
    {
        for (auto& setup : setups) setup.process.noise = 0;
        host = std::make_unique<sim::SimulatorHost>(std::move(setups));
        const auto endpoint = host->start();
        ASSERT_TRUE(endpoint) << host->error();
        com = QString::number(endpoint->comNumber);
    }

    CliResult Cli(QStringList args)
    {
        QProcess process;
        process.start(QString::fromLocal8Bit(getenv("TARVEL4410_BIN_DIR")) + "/tarvel4410-cli",
                      QStringList{"--port", com} + args);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(),
                QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)};
    }

    // The polling addresses the identification's short frames went to.
    std::set<int> ShortFrameAddresses() const
    {
        std::set<int> addresses;
        for (const sim::LoggedRequest& request : host->requests())
            if (!request.longFrame) addresses.insert(request.requestFrame.at(1) & 0x3F);
        return addresses;
    }

    TempPortMapDir portMap;
    QTemporaryDir config;
    QTemporaryDir files;
    std::unique_ptr<sim::SimulatorHost> host;
    QString com;
};

const QString kTarvel = QString::fromUtf8("Тарвел (153)  Тарвел-4410 (252)");
const QString kConfigurable = QString::fromUtf8("можно настроить");

// Transmitters at 1..3 (the second busy for its first identification, the third silent)
// and another maker's device at 9: listed in address order, the busy one asked again.
TEST_F(MultidropCli, ScanListsWhatAnsweredInAddressOrder)
{
    auto setups = sim::MultidropSetups({}, 4);
    setups[1].faults.busy = sim::FaultCount::times(1);
    setups[2].faults.silent = sim::FaultCount::always();
    sim::DeviceState& other = setups[3].state;
    other.identity.manufacturerCode = 38;
    other.identity.deviceType = 5;
    other.identity.deviceId = 0x42;
    other.identity.pollAddress = 9;
    other.config.tag = "OTHER";
    Start(std::move(setups));
    const CliResult run = Cli({"scan"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines,
              (QStringList{"1  " + kTarvel + "  0A1B2C  TT-1  " + kConfigurable,
                           "2  " + kTarvel + "  0A1B2D  TT-2  " + kConfigurable,
                           QString::fromUtf8("9  38  5  000042  OTHER  не поддерживается")}));
    // Every address once, the busy one twice, and a tag read for each device found.
    std::map<int, int> asked;
    for (const sim::LoggedRequest& request : host->requests())
        if (!request.longFrame) ++asked[request.requestFrame.at(1) & 0x3F];
    EXPECT_EQ(asked.size(), 16u);
    for (const auto& [address, times] : asked) EXPECT_EQ(times, address == 2 ? 2 : 1) << address;
    EXPECT_EQ(host->requests().size(), 17u + 3u);
}

TEST_F(MultidropCli, ScanOfASilentLineSaysSoAndFails)
{
    sim::SimulatorSetup silent;
    silent.faults.silent = sim::FaultCount::always();
    Start({silent});
    const CliResult run = Cli({"scan"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines, QStringList{QString::fromUtf8("Устройства на линии не найдены")});
    // Once each: a silent address is not asked again.
    EXPECT_EQ(host->requests().size(), 16u);
}

// A transmitter at polling address 7: found, read, sent to and monitored with --address 7.
TEST_F(MultidropCli, TransmitterAtAddressSevenEndToEnd)
{
    sim::SimulatorSetup seventh;
    seventh.state.identity.pollAddress = 7;
    Start({seventh});
    const QString file = files.filePath("seven.4410");
    const struct {
        QStringList args;
        int exitCode;
        std::set<int> shortFrameAddresses;
    } runs[] = {
        {{"--address", "7", "check"}, 0, {7}},
        {{"--address", "7", "read", file}, 0, {7}},
        {{"--address", "7", "--answer", "905=ok", "send-basic", file}, 0, {7}},
        {{"--address", "7", "monitor", "--cycles", "2"}, 0, {7}},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.args.join(' ').toStdString());
        host->clearRequests();
        EXPECT_EQ(Cli(r.args).exitCode, r.exitCode);
        EXPECT_EQ(ShortFrameAddresses(), r.shortFrameAddresses);
    }
    // Everything after the identification went by the long address.
    EXPECT_GT(host->commands().size(), 1u);
}

TEST_F(MultidropCli, AddressOutsideZeroToFifteenIsAUsageError)
{
    Start({sim::SimulatorSetup{}});
    for (const char* address : {"16", "-1", "x"})
        EXPECT_EQ(Cli({"--address", address, "check"}).exitCode, 2) << address;
}

}  // namespace
