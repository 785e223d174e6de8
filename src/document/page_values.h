#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "document/parameter_table.h"
#include "document/vesk_doc.h"
#include "transmitter/parameter_values.h"

namespace document {

class FailedFlags {
public:
    bool test(ValueFlag flag) const { return m_bits.test(static_cast<std::size_t>(flag)); }
    void set(ValueFlag flag, bool failed = true)
    {
        m_bits.set(static_cast<std::size_t>(flag), failed);
    }

private:
    std::bitset<kValueFlagCount> m_bits;
};

// A snapshot of everything the Basic, Advanced and Information pages show, read through
// the document's getters. Default values are those of a cleared document, so the page
// rules can be worked out without a document.
struct PageValues {
    CVeskDoc::Tag tag{};       // as the tag getter gives it
    std::u16string storedTag;  // as held, up to its zero: what a send writes
    std::int32_t sensorType = transmitter::kSensorNotSet;
    std::int32_t sensorConnection = transmitter::kSensorNotSet;
    std::int32_t rangeUnits = transmitter::kUnitsNotSet;
    float lowerRangeValue = transmitter::kNotSetFloat;
    float upperRangeValue = transmitter::kNotSetFloat;
    float damping = transmitter::kNotSetFloat;
    float lowerSensorLimit = transmitter::kNotSetFloat;
    float upperSensorLimit = transmitter::kNotSetFloat;

    std::int32_t alarmSelect = transmitter::kChoiceNotSet;
    float lowAlmVal = transmitter::kNotSetFloat;
    float highAlmVal = transmitter::kNotSetFloat;
    float lowSatVal = transmitter::kNotSetFloat;
    float highSatVal = transmitter::kNotSetFloat;
    std::int32_t lineFilter = transmitter::kChoiceNotSet;
    std::int32_t writeProtect = transmitter::kChoiceNotSet;

    float sensorTemp = transmitter::kNotSetFloat;
    std::int32_t sensorTempUnits = transmitter::kUnitsNotSet;
    float loopCurrent = transmitter::kNotSetFloat;
    float xmtrTemp = transmitter::kNotSetFloat;
    std::int32_t xmtrTempUnits = transmitter::kUnitsNotSet;
    int universalRev = 0;
    int deviceRev = 0;
    int softwareRev = 0;
    int hardwareRev = 0;  // already shifted, as the getter gives it
    std::int32_t finalAssemblyNumber = 0;
    int xmtrAsmDay = 0;
    int xmtrAsmMonth = 0;
    int xmtrAsmYear = 0;
    int sensorFailure = 0;
    int xmtrFailure = 0;

    FailedFlags failed;
};

PageValues PageValuesOf(const CVeskDoc& doc);

}  // namespace document
