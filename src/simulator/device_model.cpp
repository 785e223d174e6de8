#include "simulator/device_model.h"

#include <algorithm>
#include <cmath>

#include "simulator/sensor_calibration.h"
#include "simulator/wire_format.h"

namespace sim {

namespace {

constexpr float kZeroScaleMa = 4.0f;
constexpr float kFullScaleMa = 20.0f;
constexpr float kOutputSpanMa = kFullScaleMa - kZeroScaleMa;

namespace status {
constexpr std::uint8_t kMalfunction = 0x80;
constexpr std::uint8_t kLoopCurrentFixed = 0x08;
constexpr std::uint8_t kLoopCurrentSaturated = 0x04;
constexpr std::uint8_t kPrimaryValueOutOfLimits = 0x01;
}  // namespace status

// Additional status (command 48) bits.
constexpr std::size_t kCalibrationErrorByteA = 2;
constexpr std::uint8_t kCalibrationErrorBitA = 0x08;
constexpr std::size_t kCalibrationErrorByteB = 3;
constexpr std::uint8_t kCalibrationErrorBitB = 0x04;
// Device-specific: the electronics have failed.
constexpr std::size_t kElectronicsFailureByte = 0;
constexpr std::uint8_t kElectronicsFailureBit = 0x01;
constexpr std::size_t kSensorFailureByte = 4;
constexpr std::uint8_t kSensorOpenBit = 0x01;
constexpr std::uint8_t kSensorShortBit = 0x02;

float Interpolate(float at4, float at20, float currentMa)
{
    return at4 + (at20 - at4) * (currentMa - kZeroScaleMa) / kOutputSpanMa;
}

}  // namespace

DeviceModel::DeviceModel(SimulatorSetup setup)
    : m_setup(std::move(setup)), m_random(m_setup.process.seed)
{
}

SimulatorSetup& DeviceModel::setup() { return m_setup; }

const SimulatorSetup& DeviceModel::setup() const { return m_setup; }

DeviceState& DeviceModel::state() { return m_setup.state; }

const DeviceState& DeviceModel::state() const { return m_setup.state; }

void DeviceModel::sampleProcess()
{
    const float amplitude = std::fabs(m_setup.process.noise);
    if (amplitude > 0.0f && std::isfinite(amplitude)) {
        std::uniform_real_distribution<float> spread(-amplitude, amplitude);
        m_noise = spread(m_random);
    } else {
        m_noise = 0.0f;
    }
}

void DeviceModel::restart()
{
    state().output.fixedMode = false;
    state().calibration.calibrationError = false;
    sampleProcess();
}

const SensorModel& DeviceModel::sensor() const
{
    // A type the device does not know cannot be written; fall back on the factory sensor in
    // case a test put one in by hand.
    const SensorModel* sensor = FindSensor(state().config.sensorType);
    return sensor ? *sensor : *FindSensor(1);
}

SensorScale DeviceModel::scale() const { return SensorScale(sensor()); }

bool DeviceModel::sensorFailed() const
{
    return m_setup.faults.sensorFailure != SensorFailure::None;
}

bool DeviceModel::transmitterFailed() const { return m_setup.faults.transmitterFailure; }

float DeviceModel::rawInput() const { return m_setup.process.value + m_noise; }

float DeviceModel::measuredInput() const
{
    if (sensorFailed()) return NotANumber();
    return CorrectedInput(state().calibration, rawInput());
}

float DeviceModel::primaryValue() const
{
    return scale().fromNatural(measuredInput(), state().config.rangeUnits);
}

float DeviceModel::percentOfRange() const
{
    const DeviceConfig& config = state().config;
    const float span = config.upperRangeValue - config.lowerRangeValue;
    const float pv = primaryValue();
    if (span == 0.0f || !std::isfinite(pv)) return NotANumber();
    return 100.0f * (pv - config.lowerRangeValue) / span;
}

float DeviceModel::electronicsTemperatureC() const
{
    return m_setup.process.electronicsTemperatureC;
}

bool DeviceModel::multidrop() const { return state().identity.pollAddress != 0; }

float DeviceModel::loopCurrentMa() const
{
    const DeviceConfig& config = state().config;
    if (multidrop()) return kZeroScaleMa;
    if (state().output.fixedMode) return state().output.fixedCurrentMa;
    if (sensorFailed() || transmitterFailed())
        return config.alarmSelect == 1 ? config.lowAlarmMa : config.highAlarmMa;
    const float span = config.upperRangeValue - config.lowerRangeValue;
    const float pv = primaryValue();
    if (span == 0.0f || !std::isfinite(pv))
        return config.alarmSelect == 1 ? config.lowAlarmMa : config.highAlarmMa;
    const float current = kZeroScaleMa + kOutputSpanMa * (pv - config.lowerRangeValue) / span;
    return std::clamp(current, config.lowSaturationMa, config.highSaturationMa);
}

float DeviceModel::analogOutputMa() const
{
    const float driven = loopCurrentMa();
    const LoopOutput& output = state().output;
    const float error =
        Interpolate(m_setup.process.outputError4Ma, m_setup.process.outputError20Ma, driven);
    const float correction = Interpolate(output.correction4Ma, output.correction20Ma, driven);
    return driven + error - correction;
}

bool DeviceModel::loopCurrentSaturated() const
{
    if (multidrop() || state().output.fixedMode || sensorFailed() || transmitterFailed())
        return false;
    const float current = loopCurrentMa();
    return current <= state().config.lowSaturationMa || current >= state().config.highSaturationMa;
}

bool DeviceModel::primaryValueOutOfLimits() const
{
    if (sensorFailed()) return true;
    const Limits limits = scale().naturalLimits();
    const float value = measuredInput();
    return value < limits.lower || value > limits.upper;
}

std::uint8_t DeviceModel::deviceStatus() const
{
    std::uint8_t bits = 0;
    if (sensorFailed() || transmitterFailed()) bits |= status::kMalfunction;
    if (state().output.fixedMode || multidrop()) bits |= status::kLoopCurrentFixed;
    if (loopCurrentSaturated()) bits |= status::kLoopCurrentSaturated;
    if (primaryValueOutOfLimits()) bits |= status::kPrimaryValueOutOfLimits;
    return bits;
}

std::array<std::uint8_t, 5> DeviceModel::additionalStatus() const
{
    std::array<std::uint8_t, 5> bytes{};
    if (state().calibration.calibrationError) {
        bytes[kCalibrationErrorByteA] |= kCalibrationErrorBitA;
        bytes[kCalibrationErrorByteB] |= kCalibrationErrorBitB;
    }
    if (transmitterFailed()) bytes[kElectronicsFailureByte] |= kElectronicsFailureBit;
    if (m_setup.faults.sensorFailure == SensorFailure::Open)
        bytes[kSensorFailureByte] |= kSensorOpenBit;
    if (m_setup.faults.sensorFailure == SensorFailure::Short)
        bytes[kSensorFailureByte] |= kSensorShortBit;
    return bytes;
}

}  // namespace sim
