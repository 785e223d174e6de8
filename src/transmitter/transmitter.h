#pragma once

#include <cstdint>
#include <initializer_list>

#include "hart/hart_link.h"
#include "transmitter/parameter_values.h"

namespace transmitter {

struct AdditionalStatus {
    bool ok = false;
    std::uint8_t bytes[5] = {};
};

struct LoopTrimResult {
    bool done = false;
    int result = 0;
};

struct LevelPair {
    float high = kNotSetFloat;
    float low = kNotSetFloat;
};

struct SensorLimitsReading {
    bool ok = false;
    std::int32_t units = kUnitsNotSet;
    float upper = kNotSetFloat;
    float lower = kNotSetFloat;
};

struct MeasuredValue {
    bool ok = false;
    std::int32_t units = kUnitsNotSet;
    float value = kNotSetFloat;
};

// The one transmitter the program configures: its HART link and its parameter set. Every
// value has a not-set state that is never sent, and most carry a failed flag that is set
// when the transmitter refused a write of it. Operations return 1 when done (or nothing
// to do) and 0 when failed, after the user has seen one message.
class CTransmitter : public hart::CHartLink {
public:
    CTransmitter(hart::UserInteraction& ui, const hart::PortSettings& portSettings,
                 hart::Sleeper& sleeper);

    // Identification (command 249); 1 when a Тарвел-4410 answered.
    int Identify();
    // 0 off, 1 on, 2 when the read failed.
    int ReadWriteProtect();

    // Read groups, in the order of a configuration read.
    int ReadTagAndSensor();
    int ReadRangeAndLimits();
    int ReadFilterAndAssemblyNumber();
    int ReadAlarmLevelsAndVariables();
    int ReadFailureStatus();
    int ReadThermometerParams();

    // Basic chain.
    int WriteSensorConfig();
    int WriteRangeUnits();
    int WriteRangeValues();
    int WriteDamping();
    int WriteTag();
    // Advanced chain.
    int WriteProtectOff();
    int WriteAlarmSelect();
    int WriteAlarmLevels();
    int WriteLineFilter();
    int WriteProtectOnAndReadLimits();

    // Calibration and output.
    bool SetFixedCurrent();
    bool ExitFixedCurrent();
    LoopTrimResult TrimLoopZero();
    LoopTrimResult TrimLoopGain();
    bool WriteCalibrationMode();
    bool ReadCalibrationInfo();
    bool TrimSensorUpper();
    bool TrimSensorLower();
    LevelPair ReadAlarmLevels();
    bool ResetDevice();
    AdditionalStatus ReadAdditionalStatus();
    std::int32_t ReadRangeUnits();
    std::int32_t ReadSensorType();
    SensorLimitsReading ReadSensorLimits();
    MeasuredValue ReadMeasuredValue();

    // One live-monitoring cycle: assembly number, date, temperatures, loop current, failures.
    // False when a read failed and ended the cycle.
    bool ReadLiveValues();

    // Parameter set.
    std::int32_t sensorType = kSensorNotSet;
    std::int32_t sensorConnection = kSensorNotSet;
    std::int32_t alarmSelect = kChoiceNotSet;
    std::int32_t sensorLimitUnits = kUnitsNotSet;
    std::int32_t rangeUnits = kUnitsNotSet;
    std::int32_t sensorTempUnits = kUnitsNotSet;
    std::int32_t trimUnits = kUnitCelsius;
    std::int32_t xmtrTempUnits = kUnitsNotSet;
    std::int32_t writeProtect = kChoiceNotSet;
    std::int32_t calibrationMode = kChoiceNotSet;
    std::int32_t calibrationType = 0;
    std::uint8_t armatureLetter = 1;
    std::uint8_t armatureNumber = 1;
    std::int32_t headType = 3;
    std::int32_t cableEntry = 0;
    std::int32_t execution = 1;
    std::int32_t mountingLength = 0;
    std::uint8_t finalAsmDay = 1;
    std::uint8_t finalAsmMonth = 1;
    std::uint8_t finalAsmYear = 0;
    std::int32_t thermometerSerial = 0;
    std::int32_t deviceType = 0;
    std::int32_t manufacturerCode = 0;
    std::int32_t lineFilter = kChoiceNotSet;
    std::int32_t deviceId = 0;
    char16_t tag[kTagLength + 1] = {};
    std::uint8_t xmtrAsmDay = 0;
    std::uint8_t xmtrAsmMonth = 0;
    std::uint8_t xmtrAsmYear = 0;
    float upperSensorLimit = kNotSetFloat;
    float lowerSensorLimit = kNotSetFloat;
    float upperRangeValue = kNotSetFloat;
    float lowerRangeValue = kNotSetFloat;
    float damping = kNotSetFloat;
    std::uint8_t universalRev = 0;
    std::uint8_t deviceRev = 0;
    std::uint8_t softwareRev = 0;
    std::uint8_t hardwareRev = 0;
    std::int32_t finalAssemblyNumber = 0;
    float highAlmVal = kNotSetFloat;
    float lowAlmVal = kNotSetFloat;
    float highSatVal = kNotSetFloat;
    float lowSatVal = kNotSetFloat;
    float sensorTemp = kNotSetFloat;
    float xmtrTemp = kNotSetFloat;
    float loopCurrent = kNotSetFloat;
    float fixedCurrent = kNotSetFloat;
    float measured4mA = kNotSetFloat;
    float measured20mA = kNotSetFloat;
    float calUpperBound = kNotSetFloat;
    float calLowerBound = kNotSetFloat;
    float trimUpperPoint = kNotSetFloat;
    float trimLowerPoint = kNotSetFloat;
    int sensorFailure = 0;
    int xmtrFailure = 0;

    // Failed flags, 0 or 1.
    int sensorTypeFailed = 0;
    int sensorConnectionFailed = 0;
    int alarmSelectFailed = 0;
    int rangeUnitsFailed = 0;
    int sensorTempUnitsFailed = 0;
    int trimUnitsFailed = 0;
    int xmtrTempUnitsFailed = 0;
    int writeProtectFailed = 0;
    int calibrationModeFailed = 0;
    int armatureFailed = 0;
    int headTypeFailed = 0;
    int cableEntryFailed = 0;
    int executionFailed = 0;
    int mountingLengthFailed = 0;
    int finalAsmDateFailed = 0;
    int thermometerSerialFailed = 0;
    int lineFilterFailed = 0;
    int tagFailed = 0;
    int upperSensorLimitFailed = 0;
    int lowerSensorLimitFailed = 0;
    int upperRangeValueFailed = 0;
    int lowerRangeValueFailed = 0;
    int dampingFailed = 0;
    int revisionsFailed = 0;
    int finalAssemblyNumberFailed = 0;
    int highAlmValFailed = 0;
    int lowAlmValFailed = 0;
    int highSatValFailed = 0;
    int lowSatValFailed = 0;
    int sensorTempFailed = 0;
    int xmtrTempFailed = 0;
    int loopCurrentFailed = 0;
    int fixedCurrentFailed = 0;
    int measured4mAFailed = 0;
    int measured20mAFailed = 0;
    int calUpperBoundFailed = 0;
    int calLowerBoundFailed = 0;
    int trimUpperPointFailed = 0;
    int trimLowerPointFailed = 0;
    int sensorFailureFailed = 0;
    int xmtrFailureFailed = 0;

    int progress = 0;

private:
    enum class Accept { ZeroOrWarning, ZeroOnly };
    struct Exchange {
        int result;
        bool ok;
    };
    static constexpr int kRegisterRecordLength = 7;
    using RegisterRecord = std::uint8_t[kRegisterRecordLength];
    using RegisterData = std::uint8_t[4];

    // One transaction; a failed one is reported to the user (one message, or none).
    Exchange TransactOrReport(int commandIndex, std::initializer_list<hart::FieldRef> values = {},
                              Accept accept = Accept::ZeroOrWarning);
    // Writes one value that the transmitter's echo replaces; its failed flag records a refusal.
    Exchange WriteEchoed(int commandIndex, hart::FieldRef value, int& failed);
    // Command 195 with the current writeProtect code; the echo replaces it.
    int WriteProtection();
    SensorLimitsReading ReadLimits(Accept accept);
    // Command 33 for device variables 1 (electronics) and 2 (sensor).
    Exchange ReadTwoVariables(Accept accept);
    // Keeps a limits reading in the parameter set; 1 when the reading succeeded.
    int StoreSensorLimits(const SensorLimitsReading& reading);
    // One register read of the thermometer group. The answer goes back into the record,
    // except the data bytes named in directMask (bit i = data byte i), which the caller
    // stores straight into the parameter set; data receives all four answer bytes.
    bool ReadRegister(RegisterRecord& record, std::uint8_t registerNumber, unsigned directMask,
                      RegisterData& data);
    LoopTrimResult TrimLoop(int commandIndex, float& measured);
    bool TrimSensorPoint(int commandIndex, float& point);
};

}  // namespace transmitter
