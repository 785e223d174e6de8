// The operations through the real driver library and a pseudo-terminal to the simulated
// transmitter, in real time. Every answer comes within one poll, so nothing here waits for
// the engine's time-outs; the no-answer paths are the fake driver's to test.
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <stdlib.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hart/trace_file.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"
#include "transmitter/transmitter.h"

using namespace transmitter;

namespace {

sim::SimulatorSetup SteadySetup()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0.0f;
    return setup;
}

class TransmitterEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        // The real library beside the test executable, not a fake left in the environment.
        unsetenv("TARVEL4410_HART_DRIVER");
        const auto endpoint = host.start();
        ASSERT_TRUE(endpoint) << host.error();
        settings.emplace(endpoint->comNumber);
        xmtr = std::make_unique<CTransmitter>(user, *settings, sleeper);
        ASSERT_EQ(xmtr->Identify(), 1) << "no simulated transmitter on COM" << endpoint->comNumber;
        host.clearRequests();
    }

    template <class Fn>
    decltype(auto) device(Fn&& fn)
    {
        return host.withDevice([&](sim::Device& d) -> decltype(auto) { return fn(d.state()); });
    }

    std::vector<int> commandsSeen() const
    {
        const auto commands = host.commands();
        return std::vector<int>(commands.begin(), commands.end());
    }

    TempPortMapDir portMap;
    sim::SimulatorHost host{SteadySetup()};
    ScriptedUser user;
    hart::RealSleeper sleeper;
    std::optional<hart::FixedPortSettings> settings;
    std::unique_ptr<CTransmitter> xmtr;
};

}  // namespace

TEST_F(TransmitterEndToEnd, IdentificationGivesTheDevicesAddress)
{
    EXPECT_EQ(xmtr->manufacturerCode, 153);
    EXPECT_EQ(xmtr->deviceType, 252);
    EXPECT_EQ(xmtr->deviceId, 0x0A1B2C);
    EXPECT_EQ(xmtr->universalRev, 5);
    EXPECT_EQ(xmtr->hardwareRev, 1 << 3);  // the raw byte: revision above the signalling code
    const auto expected = host.withDevice([](sim::Device& d) { return d.longAddress(); });
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), xmtr->address().begin()));
    EXPECT_FALSE(xmtr->isPortOpen());
}

TEST_F(TransmitterEndToEnd, ReadGroupsFillTheParameterSetFromTheDevice)
{
    EXPECT_EQ(xmtr->ReadTagAndSensor(), 1);
    EXPECT_EQ(std::u16string(xmtr->tag), u"TT-101  ");
    EXPECT_EQ(xmtr->xmtrAsmDay, 15);
    EXPECT_EQ(xmtr->xmtrAsmMonth, 3);
    EXPECT_EQ(xmtr->xmtrAsmYear, 124);
    EXPECT_EQ(xmtr->sensorType, 1);
    EXPECT_EQ(xmtr->sensorConnection, 3);

    EXPECT_EQ(xmtr->ReadRangeAndLimits(), 1);
    EXPECT_EQ(xmtr->alarmSelect, 0);
    EXPECT_EQ(xmtr->rangeUnits, 32);
    EXPECT_EQ(xmtr->upperRangeValue, 100.0f);
    EXPECT_EQ(xmtr->lowerRangeValue, 0.0f);
    EXPECT_EQ(xmtr->damping, 1.0f);
    EXPECT_EQ(xmtr->writeProtect, 0);
    EXPECT_EQ(xmtr->sensorLimitUnits, 32);
    EXPECT_EQ(xmtr->upperSensorLimit, 850.0f);
    EXPECT_EQ(xmtr->lowerSensorLimit, -200.0f);

    EXPECT_EQ(xmtr->ReadFilterAndAssemblyNumber(), 1);
    EXPECT_EQ(xmtr->lineFilter, 1);
    EXPECT_EQ(xmtr->finalAssemblyNumber, 441001);

    EXPECT_EQ(xmtr->ReadAlarmLevelsAndVariables(), 1);
    EXPECT_EQ(xmtr->highAlmVal, 21.0f);
    EXPECT_EQ(xmtr->lowAlmVal, 3.5f);
    EXPECT_EQ(xmtr->highSatVal, 20.5f);
    EXPECT_EQ(xmtr->lowSatVal, 3.7f);
    EXPECT_EQ(xmtr->xmtrTemp, 31.5f);
    EXPECT_EQ(xmtr->sensorTempUnits, 32);
    EXPECT_EQ(xmtr->sensorTemp, 25.0f);
    EXPECT_FLOAT_EQ(xmtr->loopCurrent, 8.0f);  // 25 °C on 0–100 °C

    EXPECT_EQ(xmtr->ReadFailureStatus(), 1);
    EXPECT_EQ(xmtr->sensorFailure, 0);
    EXPECT_EQ(xmtr->xmtrFailure, 0);

    EXPECT_EQ(xmtr->ReadThermometerParams(), 1);
    EXPECT_EQ(xmtr->armatureLetter, 1);
    EXPECT_EQ(xmtr->headType, 3);
    EXPECT_EQ(xmtr->cableEntry, 1);
    EXPECT_EQ(xmtr->execution, 1);
    EXPECT_EQ(xmtr->mountingLength, 120);
    EXPECT_EQ(xmtr->finalAsmDay, 20);
    EXPECT_EQ(xmtr->finalAsmMonth, 2);
    EXPECT_EQ(xmtr->finalAsmYear, 24);
    EXPECT_EQ(xmtr->thermometerSerial, 1234);

    EXPECT_EQ(commandsSeen(), (std::vector<int>{13, 140, 15, 14, 150, 16, 189, 33, 3, 48, 139, 139,
                                                139, 139, 139, 139, 139}));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(xmtr->isPortOpen());
}

TEST_F(TransmitterEndToEnd, SensorFailureIsReported)
{
    host.withDevice([](sim::Device& d) { d.faults().sensorFailure = sim::SensorFailure::Open; });
    EXPECT_EQ(xmtr->ReadFailureStatus(), 1);
    EXPECT_EQ(xmtr->sensorFailure, 1);
    EXPECT_EQ(xmtr->xmtrFailure, 0);
}

TEST_F(TransmitterEndToEnd, BasicChainWritesTheDevice)
{
    xmtr->sensorType = 7;  // PT1000
    xmtr->sensorConnection = 4;
    xmtr->rangeUnits = 33;
    xmtr->lowerRangeValue = 50.0f;
    xmtr->upperRangeValue = 250.0f;
    xmtr->damping = 2.0f;
    std::copy_n(u"new-1", 6, xmtr->tag);

    EXPECT_EQ(xmtr->WriteSensorConfig(), 1);
    EXPECT_EQ(xmtr->WriteRangeUnits(), 1);
    EXPECT_EQ(xmtr->WriteRangeValues(), 1);
    EXPECT_EQ(xmtr->WriteDamping(), 1);
    EXPECT_EQ(xmtr->WriteTag(), 1);
    EXPECT_TRUE(user.messages.empty());

    const sim::DeviceConfig config = device([](sim::DeviceState& s) { return s.config; });
    EXPECT_EQ(config.sensorType, 7);
    EXPECT_EQ(config.sensorConnection, 4);
    EXPECT_EQ(config.rangeUnits, 33);
    EXPECT_EQ(config.lowerRangeValue, 50.0f);
    EXPECT_EQ(config.upperRangeValue, 250.0f);
    EXPECT_EQ(config.dampingS, 2.0f);
    EXPECT_EQ(config.tag, "NEW-1");
    EXPECT_EQ(config.descriptor, "TARVEL-4410");  // sent back unchanged with the tag
    EXPECT_EQ(std::u16string(xmtr->tag), u"NEW-1   ");
    EXPECT_EQ(commandsSeen(), (std::vector<int>{140, 141, 44, 15, 14, 35, 34, 13, 18}));
}

// The device allows 0.001 beyond a limit; the program pulls values up to 0.005 beyond it
// onto the limit and leaves everything else alone.
TEST_F(TransmitterEndToEnd, RangeValuesAgainstTheDevicesLimits)
{
    xmtr->sensorLimitUnits = 32;
    xmtr->lowerRangeValue = -200.004f;
    xmtr->upperRangeValue = 850.004f;
    EXPECT_EQ(xmtr->WriteRangeValues(), 1);
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.upperRangeValue; }), 850.0f);
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.lowerRangeValue; }), -200.0f);

    xmtr->lowerRangeValue = 10.0f;
    xmtr->upperRangeValue = 90.0f;
    EXPECT_EQ(xmtr->WriteRangeValues(), 1);
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.upperRangeValue; }), 90.0f);
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.lowerRangeValue; }), 10.0f);
    EXPECT_TRUE(user.messages.empty());

    xmtr->upperRangeValue = 850.01f;
    EXPECT_EQ(xmtr->WriteRangeValues(), 0);
    EXPECT_EQ(xmtr->upperRangeValueFailed, 1);
    EXPECT_EQ(xmtr->lowerRangeValueFailed, 0);
    EXPECT_EQ(user.ids(), std::vector<int>{1012});
    EXPECT_EQ(xmtr->upperSensorLimit, 850.0f);  // read again after the refusal
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.upperRangeValue; }), 90.0f);
}

TEST_F(TransmitterEndToEnd, WriteProtectedDeviceRefusesWrites)
{
    device([](sim::DeviceState& s) { return s.config.writeProtect = 1; });
    EXPECT_EQ(xmtr->ReadWriteProtect(), 1);
    xmtr->damping = 3.0f;
    EXPECT_EQ(xmtr->WriteDamping(), 0);
    EXPECT_EQ(xmtr->dampingFailed, 1);
    EXPECT_EQ(user.ids(), std::vector<int>{1004});
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.config.dampingS; }), 1.0f);
}

TEST_F(TransmitterEndToEnd, DampingBelowHalfASecondIsRoundedWithAWarning)
{
    xmtr->damping = 0.3f;
    EXPECT_EQ(xmtr->WriteDamping(), 1);
    EXPECT_EQ(xmtr->damping, 0.5f);
    EXPECT_EQ(user.ids(), std::vector<int>{1005});
}

TEST_F(TransmitterEndToEnd, AdvancedChainUnprotectsFirstAndProtectsLast)
{
    auto runChain = [&] {
        host.clearRequests();
        xmtr->WriteProtectOff();
        xmtr->WriteAlarmSelect();
        xmtr->WriteAlarmLevels();
        xmtr->WriteLineFilter();
        return xmtr->WriteProtectOnAndReadLimits();
    };
    device([](sim::DeviceState& s) { return s.config.writeProtect = 1; });
    xmtr->writeProtect = 0;
    xmtr->alarmSelect = 1;
    xmtr->highAlmVal = 22.0f;
    xmtr->lineFilter = 0;
    EXPECT_EQ(runChain(), 1);
    EXPECT_EQ(commandsSeen(), (std::vector<int>{195, 162, 189, 155, 151, 14}));
    sim::DeviceConfig config = device([](sim::DeviceState& s) { return s.config; });
    EXPECT_EQ(config.writeProtect, 0);
    EXPECT_EQ(config.alarmSelect, 1);
    EXPECT_EQ(config.highAlarmMa, 22.0f);
    EXPECT_EQ(config.lowAlarmMa, 3.5f);  // not set by the user: the device's own level
    EXPECT_EQ(config.lineFilter, 0);

    xmtr->writeProtect = 1;
    xmtr->alarmSelect = 0;
    EXPECT_EQ(runChain(), 1);
    EXPECT_EQ(commandsSeen(), (std::vector<int>{162, 189, 155, 151, 195, 14}));
    config = device([](sim::DeviceState& s) { return s.config; });
    EXPECT_EQ(config.writeProtect, 1);
    EXPECT_EQ(config.alarmSelect, 0);
    EXPECT_TRUE(user.messages.empty());

    // Now protected: a chain that leaves protection on is refused at its first write.
    xmtr->alarmSelect = 1;
    EXPECT_EQ(runChain(), 1);
    EXPECT_EQ(xmtr->alarmSelectFailed, 1);
    EXPECT_EQ(user.ids(), (std::vector<int>{1004, 1004, 1004}));
}

TEST_F(TransmitterEndToEnd, AlarmLevelRefusalFlagsTheLevel)
{
    xmtr->lowAlmVal = 1.0f;
    EXPECT_EQ(xmtr->WriteAlarmLevels(), 0);
    EXPECT_EQ(xmtr->lowAlmValFailed, 1);
    EXPECT_EQ(xmtr->highAlmValFailed + xmtr->highSatValFailed + xmtr->lowSatValFailed, 0);
    EXPECT_EQ(user.ids(), std::vector<int>{1016});
}

TEST_F(TransmitterEndToEnd, FixedCurrentAndLoopTrim)
{
    xmtr->measured4mA = 4.02f;
    EXPECT_EQ(xmtr->TrimLoopZero().result, 9);  // not in fixed current mode
    EXPECT_EQ(user.ids(), std::vector<int>{1027});

    xmtr->fixedCurrent = 4.0f;
    EXPECT_TRUE(xmtr->SetFixedCurrent());
    EXPECT_TRUE(device([](sim::DeviceState& s) { return s.output.fixedMode; }));
    const LoopTrimResult trim = xmtr->TrimLoopZero();
    EXPECT_TRUE(trim.done);
    EXPECT_EQ(xmtr->measured4mA, 4.02f);
    EXPECT_NEAR(device([](sim::DeviceState& s) { return s.output.correction4Ma; }), 0.02f, 1e-6f);

    xmtr->measured4mA = 6.0f;  // far off: refused as too large, no message here
    EXPECT_EQ(xmtr->TrimLoopZero().result, 3);
    EXPECT_TRUE(xmtr->ExitFixedCurrent());
    EXPECT_FALSE(device([](sim::DeviceState& s) { return s.output.fixedMode; }));
    EXPECT_EQ(user.ids(), std::vector<int>{1027});
}

TEST_F(TransmitterEndToEnd, SensorTrimAndReturnToFactoryCalibration)
{
    xmtr->trimUnits = 32;
    EXPECT_TRUE(xmtr->ReadCalibrationInfo());
    EXPECT_EQ(xmtr->calibrationMode, 0);
    EXPECT_EQ(xmtr->calUpperBound, 850.0f);
    EXPECT_EQ(xmtr->calLowerBound, -200.0f);

    xmtr->trimLowerPoint = 25.25f;
    EXPECT_TRUE(xmtr->TrimSensorLower());
    EXPECT_TRUE(xmtr->ReadCalibrationInfo());
    EXPECT_EQ(xmtr->calibrationMode, 1);
    EXPECT_FLOAT_EQ(xmtr->trimLowerPoint, 25.25f);
    const MeasuredValue measured = xmtr->ReadMeasuredValue();
    EXPECT_TRUE(measured.ok);
    EXPECT_FLOAT_EQ(measured.value, 25.25f);  // the trimmed reading

    xmtr->trimUpperPoint = 900.0f;  // beyond the sensor: refused
    EXPECT_FALSE(xmtr->TrimSensorUpper());
    EXPECT_EQ(xmtr->trimUnits, 38);
    EXPECT_EQ(user.ids(), std::vector<int>{1028});

    xmtr->calibrationMode = 0;
    EXPECT_TRUE(xmtr->WriteCalibrationMode());
    EXPECT_EQ(device([](sim::DeviceState& s) { return s.calibration.mode; }), 0);
    EXPECT_TRUE(xmtr->ResetDevice());
    EXPECT_EQ(xmtr->ReadSensorType(), 1);
    EXPECT_EQ(xmtr->ReadRangeUnits(), 32);
}

namespace {

// The hex bytes of a trace line's frame: between the direction and the two spaces.
std::vector<std::uint8_t> LineBytes(const std::string& line)
{
    const std::string hex = line.substr(15, line.find("  ", 15) - 15);
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace

TEST_F(TransmitterEndToEnd, TraceOfAFullReadHoldsEveryFrameTheLineSawInOrder)
{
    const auto path = portMap.path() / "read.trace";
    std::string error;
    auto trace = hart::TraceFileWriter::Open(path.string(), sleeper.now(), error);
    ASSERT_TRUE(trace) << error;
    xmtr->attachTrace(trace.get());
    EXPECT_EQ(xmtr->Identify(), 1);
    for (auto group :
         {&CTransmitter::ReadTagAndSensor, &CTransmitter::ReadRangeAndLimits,
          &CTransmitter::ReadFilterAndAssemblyNumber, &CTransmitter::ReadAlarmLevelsAndVariables,
          &CTransmitter::ReadFailureStatus, &CTransmitter::ReadThermometerParams})
        EXPECT_EQ(((*xmtr).*group)(), 1);
    xmtr->attachTrace(nullptr);

    // What the simulated line saw: each request and the answer to it, in order.
    std::vector<std::pair<char, std::vector<std::uint8_t>>> expected;
    for (const auto& request : host.requests()) {
        expected.emplace_back('>', request.requestFrame);
        for (const auto& answer : request.answerFrames) expected.emplace_back('<', answer);
    }
    std::ifstream file(path);
    std::string line;
    std::vector<std::pair<char, std::vector<std::uint8_t>>> traced;
    ASSERT_TRUE(std::getline(file, line));
    EXPECT_EQ(line.substr(0, 15), "00:00:00.000 ! ");
    while (std::getline(file, line)) {
        ASSERT_GT(line.size(), 15u) << line;
        if (line[13] != '!') traced.emplace_back(line[13], LineBytes(line));
    }
    EXPECT_GT(expected.size(), 30u);
    EXPECT_EQ(traced, expected);
}
