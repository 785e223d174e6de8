#pragma once

#include <cstdint>
#include <map>

namespace sim {

// How often a fault strikes: on the next `remaining` occasions, or on every one.
class FaultCount {
public:
    static FaultCount times(int count);
    static FaultCount always();

    bool active() const;
    // True when the fault strikes this time; counts one occasion down.
    bool take();
    int remaining() const;
    bool isAlways() const;

private:
    int m_remaining = 0;
    bool m_always = false;
};

enum class SensorFailure { None, Open, Short };

struct FaultSettings {
    FaultCount busy;          // answer response code 32 instead of executing
    FaultCount badChecksum;   // spoil the checksum of the real answer
    FaultCount burst;         // send a burst frame before the real answer
    FaultCount wrongCommand;  // send an answer to another command before the real answer
    FaultCount silent;        // do not answer at all
    FaultCount commError;     // answer a communication error report
    // First status byte of a communication error report: bit 7 set plus the error bits
    // (0x88 = longitudinal parity error).
    std::uint8_t commErrorCode = 0x88;
    // Command number → response code it answers instead of its own.
    std::map<std::uint8_t, std::uint8_t> responseOverrides;
    SensorFailure sensorFailure = SensorFailure::None;
    // The electronics have failed, the sensor is fine: field device malfunction, output at alarm.
    bool transmitterFailure = false;
};

}  // namespace sim
