#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <variant>

#include "transmitter/transmitter.h"

namespace document {

// The values whose failed flag a page shows (the Information page shows none).
enum class ValueFlag {
    Tag,
    SensorType,
    SensorConnection,
    RangeUnits,
    LowerRangeValue,
    UpperRangeValue,
    Damping,
    LowerSensorLimit,
    UpperSensorLimit,
    AlarmSelect,
    LowAlmVal,
    HighAlmVal,
    LowSatVal,
    HighSatVal,
    LineFilter,
    WriteProtect,
};
constexpr int kValueFlagCount = static_cast<int>(ValueFlag::WriteProtect) + 1;

// How the document's setter of a parameter sees a change before it stores the value.
enum class Setter {
    None,         // read from the transmitter only
    Store,        // no change detection
    Tracked,      // any difference
    NotSetAware,  // a difference, except one not-set float replacing another
    Plain,        // any inequality of the floats, so not set replacing not set is a change
    Tag,          // each differing character
};

// One value of the parameter set and the value clearing the document gives it; none for the
// values clearing keeps (calibration, assembly dates, identification codes).
template <typename V>
struct Field {
    V transmitter::CTransmitter::*member;
    std::optional<V> notSet;
};
// The tag: cleared to nine zero characters.
struct TagField {
    char16_t (transmitter::CTransmitter::*member)[transmitter::kTagLength + 1];
};
using ParameterValue =
    std::variant<Field<std::int32_t>, Field<std::uint8_t>, Field<float>, TagField>;

constexpr int kNotInFile = -1;

struct Parameter {
    std::string_view name;
    ParameterValue value;
    int transmitter::CTransmitter::*
        failed;  // shared by the armature parts, the revisions, the date
    Setter setter;
    int fileOffset = kNotInFile;
    std::optional<ValueFlag> pageFlag = std::nullopt;
};

namespace parameter_rows {

using X = transmitter::CTransmitter;
using enum Setter;
using transmitter::kCableEntryNotSet, transmitter::kChoiceNotSet, transmitter::kExecutionNotSet,
    transmitter::kHeadTypeNotSet, transmitter::kNotSetFloat, transmitter::kSensorNotSet,
    transmitter::kUnitsNotSet;

template <typename V>
constexpr ParameterValue Clears(V X::*member, std::type_identity_t<V> notSet)
{
    return Field<V>{member, notSet};
}
constexpr ParameterValue Clears(char16_t (X::*member)[transmitter::kTagLength + 1])
{
    return TagField{member};
}
constexpr ParameterValue Clears(float X::*member) { return Field<float>{member, kNotSetFloat}; }
template <typename V>
constexpr ParameterValue Keeps(V X::*member)
{
    return Field<V>{member, std::nullopt};
}

// The parameter set in declaration order; file offsets are those of the .4410 record.
inline constexpr Parameter kRows[] = {
    {"sensorType", Clears(&X::sensorType, kSensorNotSet), &X::sensorTypeFailed, Tracked, 26,
     ValueFlag::SensorType},
    {"sensorConnection", Clears(&X::sensorConnection, kSensorNotSet), &X::sensorConnectionFailed,
     Tracked, 30, ValueFlag::SensorConnection},
    {"alarmSelect", Clears(&X::alarmSelect, kChoiceNotSet), &X::alarmSelectFailed, Tracked, 50,
     ValueFlag::AlarmSelect},
    // Filed as the range's units field, which it also takes on a load.
    {"sensorLimitUnits", Clears(&X::sensorLimitUnits, kUnitsNotSet), nullptr, Store},
    {"rangeUnits", Clears(&X::rangeUnits, kUnitsNotSet), &X::rangeUnitsFailed, Tracked, 34,
     ValueFlag::RangeUnits},
    {"sensorTempUnits", Clears(&X::sensorTempUnits, kUnitsNotSet), &X::sensorTempUnitsFailed, None},
    {"trimUnits", Keeps(&X::trimUnits), &X::trimUnitsFailed, Store},
    {"xmtrTempUnits", Clears(&X::xmtrTempUnits, kUnitsNotSet), &X::xmtrTempUnitsFailed, None},
    {"writeProtect", Clears(&X::writeProtect, kChoiceNotSet), &X::writeProtectFailed, Tracked, 74,
     ValueFlag::WriteProtect},
    {"calibrationMode", Keeps(&X::calibrationMode), &X::calibrationModeFailed, Store},
    {"calibrationType", Keeps(&X::calibrationType), nullptr, Store},
    {"armatureLetter", Clears(&X::armatureLetter, 0), &X::armatureFailed, None, 78},
    {"armatureNumber", Clears(&X::armatureNumber, 0), &X::armatureFailed, None, 79},
    {"headType", Clears(&X::headType, kHeadTypeNotSet), &X::headTypeFailed, None, 80},
    {"cableEntry", Clears(&X::cableEntry, kCableEntryNotSet), &X::cableEntryFailed, None, 84},
    {"execution", Clears(&X::execution, kExecutionNotSet), &X::executionFailed, None, 88},
    {"mountingLength", Clears(&X::mountingLength, 0), &X::mountingLengthFailed, None, 92},
    {"finalAsmDay", Keeps(&X::finalAsmDay), &X::finalAsmDateFailed, None, 96},
    {"finalAsmMonth", Keeps(&X::finalAsmMonth), &X::finalAsmDateFailed, None, 97},
    {"finalAsmYear", Keeps(&X::finalAsmYear), &X::finalAsmDateFailed, None, 98},
    {"thermometerSerial", Clears(&X::thermometerSerial, 0), &X::thermometerSerialFailed, None, 99},
    {"deviceType", Keeps(&X::deviceType), nullptr, None},
    {"manufacturerCode", Keeps(&X::manufacturerCode), nullptr, None},
    {"lineFilter", Clears(&X::lineFilter, kChoiceNotSet), &X::lineFilterFailed, Tracked, 70,
     ValueFlag::LineFilter},
    {"deviceId", Keeps(&X::deviceId), nullptr, None},
    {"tag", Clears(&X::tag), &X::tagFailed, Tag, 8, ValueFlag::Tag},
    {"xmtrAsmDay", Keeps(&X::xmtrAsmDay), nullptr, None},
    {"xmtrAsmMonth", Keeps(&X::xmtrAsmMonth), nullptr, None},
    {"xmtrAsmYear", Keeps(&X::xmtrAsmYear), nullptr, None},
    {"upperSensorLimit", Clears(&X::upperSensorLimit), &X::upperSensorLimitFailed, Store,
     kNotInFile, ValueFlag::UpperSensorLimit},
    {"lowerSensorLimit", Clears(&X::lowerSensorLimit), &X::lowerSensorLimitFailed, Store,
     kNotInFile, ValueFlag::LowerSensorLimit},
    {"upperRangeValue", Clears(&X::upperRangeValue), &X::upperRangeValueFailed, NotSetAware, 42,
     ValueFlag::UpperRangeValue},
    {"lowerRangeValue", Clears(&X::lowerRangeValue), &X::lowerRangeValueFailed, NotSetAware, 38,
     ValueFlag::LowerRangeValue},
    {"damping", Clears(&X::damping), &X::dampingFailed, NotSetAware, 46, ValueFlag::Damping},
    {"universalRev", Clears(&X::universalRev, 0), &X::revisionsFailed, None},
    {"deviceRev", Clears(&X::deviceRev, 0), &X::revisionsFailed, None},
    {"softwareRev", Clears(&X::softwareRev, 0), &X::revisionsFailed, None},
    {"hardwareRev", Clears(&X::hardwareRev, 0), &X::revisionsFailed, None},
    {"finalAssemblyNumber", Clears(&X::finalAssemblyNumber, 0), &X::finalAssemblyNumberFailed,
     None},
    {"highAlmVal", Clears(&X::highAlmVal), &X::highAlmValFailed, Plain, 58, ValueFlag::HighAlmVal},
    {"lowAlmVal", Clears(&X::lowAlmVal), &X::lowAlmValFailed, Plain, 54, ValueFlag::LowAlmVal},
    {"highSatVal", Clears(&X::highSatVal), &X::highSatValFailed, Plain, 66, ValueFlag::HighSatVal},
    {"lowSatVal", Clears(&X::lowSatVal), &X::lowSatValFailed, Plain, 62, ValueFlag::LowSatVal},
    {"sensorTemp", Clears(&X::sensorTemp), &X::sensorTempFailed, None},
    {"xmtrTemp", Clears(&X::xmtrTemp), &X::xmtrTempFailed, None},
    {"loopCurrent", Clears(&X::loopCurrent), &X::loopCurrentFailed, None},
    {"fixedCurrent", Keeps(&X::fixedCurrent), &X::fixedCurrentFailed, Store},
    {"measured4mA", Keeps(&X::measured4mA), &X::measured4mAFailed, Store},
    {"measured20mA", Keeps(&X::measured20mA), &X::measured20mAFailed, Store},
    {"calUpperBound", Keeps(&X::calUpperBound), &X::calUpperBoundFailed, None},
    {"calLowerBound", Keeps(&X::calLowerBound), &X::calLowerBoundFailed, None},
    {"trimUpperPoint", Keeps(&X::trimUpperPoint), &X::trimUpperPointFailed, Store},
    {"trimLowerPoint", Keeps(&X::trimLowerPoint), &X::trimLowerPointFailed, Store},
    {"sensorFailure", Clears(&X::sensorFailure, 0), &X::sensorFailureFailed, None},
    {"xmtrFailure", Clears(&X::xmtrFailure, 0), &X::xmtrFailureFailed, None},
};

}  // namespace parameter_rows

inline constexpr std::span<const Parameter> kParameters = parameter_rows::kRows;

// Whether clearing the document resets the parameter (and its failed flag).
constexpr bool ClearedWithTheDocument(const Parameter& parameter)
{
    return std::visit(
        [](const auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>)
                return true;
            else
                return field.notSet.has_value();
        },
        parameter.value);
}

// Bytes the parameter takes in the .4410 record.
constexpr int FileWidth(const Parameter& parameter)
{
    return std::visit(
        [](const auto& field) {
            using F = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<F, TagField>)
                return static_cast<int>(sizeof(char16_t)) * (transmitter::kTagLength + 1);
            else
                return static_cast<int>(sizeof(field.notSet.value()));
        },
        parameter.value);
}

// The row of a member, found while compiling: a member missing from the table does not build.
template <typename V>
consteval const Parameter& ParameterOf(V transmitter::CTransmitter::*member)
{
    // holds_alternative and get rather than get_if: GCC's UndefinedBehaviorSanitizer checks
    // get_if's pointer against null, which a constant expression may not do.
    using Alternative = std::conditional_t<std::is_array_v<V>, TagField, Field<V>>;
    for (const Parameter& parameter : kParameters) {
        if (std::holds_alternative<Alternative>(parameter.value) &&
            std::get<Alternative>(parameter.value).member == member)
            return parameter;
    }
    throw std::logic_error("not in the parameter table");
}

}  // namespace document
