#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Everything the simulated transmitter keeps in its memory. Defaults are a freshly
// delivered unit: PT100 3-wire, 0–100 °C, damping 1 s, high alarm.
namespace sim {

// Characters of the message (commands 12 and 17), 24 bytes of packed ASCII.
constexpr std::size_t kMessageLength = 32;

struct DeviceIdentity {
    std::uint8_t manufacturerCode = 153;
    std::uint8_t deviceType = 252;
    std::uint8_t preambleCount = 5;
    std::uint8_t universalRev = 5;
    std::uint8_t deviceRev = 1;
    std::uint8_t softwareRev = 2;
    // Five bits; the identification byte carries it above the 3-bit physical signalling code.
    std::uint8_t hardwareRev = 1;
    std::uint8_t physicalSignaling = 0;  // Bell 202 current
    std::uint8_t flags = 0;
    std::uint32_t deviceId = 0x0A1B2C;
    // 0–15. 0 drives the loop; any other address is multidrop with the current parked at 4 mA.
    std::uint8_t pollAddress = 0;
};

// HART date: year counted from 1900.
struct HartDate {
    std::uint8_t day = 15;
    std::uint8_t month = 3;
    std::uint8_t year = 124;
};

struct DeviceConfig {
    std::string tag = "TT-101";
    std::string descriptor = "TARVEL-4410";
    // Free text of up to kMessageLength characters.
    std::string message;
    HartDate date;
    std::uint8_t sensorType = 1;  // PT100 a = 0.00385
    std::uint8_t sensorConnection = 3;
    std::uint8_t rangeUnits = 32;  // °C
    float upperRangeValue = 100.0f;
    float lowerRangeValue = 0.0f;
    float dampingS = 1.0f;
    std::uint8_t alarmSelect = 0;  // 0 high, 1 low
    float highAlarmMa = 21.0f;
    float lowAlarmMa = 3.5f;
    float highSaturationMa = 20.5f;
    float lowSaturationMa = 3.7f;
    std::uint8_t lineFilter = 1;  // 0 = 60 Hz, 1 = 50 Hz
    std::uint8_t writeProtect = 0;
    std::uint32_t finalAssemblyNumber = 441001;
    std::uint32_t sensorSerial = 100245;
    // Units of the measured temperature (device variable 2) for thermometers.
    std::uint8_t sensorTempUnits = 32;
    std::uint8_t privateLabelDistributor = 153;
};

// Thermometer data kept in the parameter registers (command 139).
struct ThermometerRegisters {
    std::uint8_t armatureLetter = 1;  // 1–5 = A–E
    std::uint8_t armatureNumber = 1;
    std::uint8_t headType = 3;  // C1
    std::uint8_t cableEntry = 1;
    std::uint8_t execution = 1;  // general purpose
    std::uint16_t mountingLengthMm = 120;
    // Final assembly date, year counted from 2000.
    std::uint8_t assemblyDay = 20;
    std::uint8_t assemblyMonth = 2;
    std::uint8_t assemblyYear = 24;
    std::uint32_t serial = 1234;
};

// A user trim point: what the sensor measured (factory calibration) and what the user said
// the true value was, both in the sensor's natural unit.
struct TrimPoint {
    float measured;
    float trueValue;
};

struct SensorCalibration {
    std::uint8_t mode = 0;  // 0 factory, 1 user
    std::optional<TrimPoint> lower;
    std::optional<TrimPoint> upper;
    // Latched by a trim far from the measured value; a device reset clears it.
    bool calibrationError = false;
};

struct LoopOutput {
    bool fixedMode = false;
    float fixedCurrentMa = 0.0f;
    // Corrections learnt by the 4 mA and 20 mA trims, interpolated in between.
    float correction4Ma = 0.0f;
    float correction20Ma = 0.0f;
};

struct DeviceState {
    DeviceIdentity identity;
    DeviceConfig config;
    ThermometerRegisters thermometer;
    SensorCalibration calibration;
    LoopOutput output;
};

}  // namespace sim
