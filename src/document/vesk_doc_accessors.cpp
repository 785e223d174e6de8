// The only path between the pages and the parameter set. Every setter stores the value and
// clears its failed flag; the tracked ones first mark the document changed when they see a
// change, each with its own notion of "change", which the parameter table names.
#include "document/parameter_table.h"
#include "document/vesk_doc.h"

namespace document {

using transmitter::IsNotSet;
using X = transmitter::CTransmitter;

void CVeskDoc::MarkChanged()
{
    m_modified = true;
    MarkHasData();
}

template <auto member, typename V>
void CVeskDoc::SetParameter(const V& value)
{
    constexpr const Parameter& parameter = ParameterOf(member);
    static_assert(parameter.setter != Setter::None, "the parameter has no setter");
    auto& stored = m_pTransmitter.get()->*member;
    if constexpr (parameter.setter == Setter::Tag) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (stored[i] != value[i]) {
                MarkChanged();
                stored[i] = value[i];
            }
        }
    } else {
        if constexpr (parameter.setter == Setter::Tracked) {
            if (stored != value) MarkChanged();
        } else if constexpr (parameter.setter == Setter::NotSetAware) {
            const bool bothNotSet = IsNotSet(stored) && IsNotSet(value);
            if (!bothNotSet && stored != value) MarkChanged();
        } else if constexpr (parameter.setter == Setter::Plain) {
            // Any inequality counts, so one not-set value replacing another is a change.
            if (!(stored == value)) MarkChanged();
        }
        stored = value;
    }
    if constexpr (parameter.failed != nullptr) m_pTransmitter.get()->*parameter.failed = 0;
}

template <auto member>
bool CVeskDoc::IsFailed() const
{
    constexpr const Parameter& parameter = ParameterOf(member);
    static_assert(parameter.failed != nullptr, "the parameter has no failed flag");
    return m_pTransmitter.get()->*parameter.failed != 0;
}

int CVeskDoc::progress() const { return m_pTransmitter->progress; }

// The macro rows stay one accessor set a line.
// clang-format off
#define GETTER(type, name) \
    type CVeskDoc::name() const { return m_pTransmitter->name; }
#define SETTER(type, name, setter) \
    void CVeskDoc::setter(type v) { SetParameter<&X::name>(v); }
#define FAILED(name) \
    bool CVeskDoc::name##Failed() const { return IsFailed<&X::name>(); }
#define ACCESSORS(type, name, setter) GETTER(type, name) SETTER(type, name, setter) FAILED(name)

ACCESSORS(std::int32_t, sensorType, setSensorType)
ACCESSORS(std::int32_t, sensorConnection, setSensorConnection)
ACCESSORS(std::int32_t, rangeUnits, setRangeUnits)
ACCESSORS(float, lowerRangeValue, setLowerRangeValue)
ACCESSORS(float, upperRangeValue, setUpperRangeValue)
ACCESSORS(float, damping, setDamping)
ACCESSORS(float, upperSensorLimit, setUpperSensorLimit)
ACCESSORS(float, lowerSensorLimit, setLowerSensorLimit)
ACCESSORS(std::int32_t, alarmSelect, setAlarmSelect)
ACCESSORS(float, lowAlmVal, setLowAlmVal)
ACCESSORS(float, highAlmVal, setHighAlmVal)
ACCESSORS(float, lowSatVal, setLowSatVal)
ACCESSORS(float, highSatVal, setHighSatVal)
ACCESSORS(std::int32_t, lineFilter, setLineFilter)
ACCESSORS(std::int32_t, writeProtect, setWriteProtect)

GETTER(std::int32_t, sensorLimitUnits) SETTER(std::int32_t, sensorLimitUnits, setSensorLimitUnits)
GETTER(float, fixedCurrent) SETTER(float, fixedCurrent, setFixedCurrent)
GETTER(float, measured4mA) SETTER(float, measured4mA, setMeasured4mA)
GETTER(float, measured20mA) SETTER(float, measured20mA, setMeasured20mA)
GETTER(std::int32_t, trimUnits) SETTER(std::int32_t, trimUnits, setTrimUnits)
GETTER(float, trimUpperPoint) SETTER(float, trimUpperPoint, setTrimUpperPoint)
GETTER(float, trimLowerPoint) SETTER(float, trimLowerPoint, setTrimLowerPoint)
GETTER(std::int32_t, calibrationMode) SETTER(std::int32_t, calibrationMode, setCalibrationMode)
GETTER(std::int32_t, calibrationType) SETTER(std::int32_t, calibrationType, setCalibrationType)

GETTER(float, calUpperBound)
GETTER(float, calLowerBound)
GETTER(std::uint8_t, universalRev)
GETTER(std::uint8_t, deviceRev)
GETTER(std::uint8_t, softwareRev)
GETTER(std::int32_t, finalAssemblyNumber)
GETTER(std::uint8_t, xmtrAsmDay)
GETTER(std::uint8_t, xmtrAsmMonth)
GETTER(std::uint8_t, xmtrAsmYear)
GETTER(float, sensorTemp)
GETTER(std::int32_t, sensorTempUnits)
GETTER(float, xmtrTemp)
GETTER(std::int32_t, xmtrTempUnits)
GETTER(float, loopCurrent)
GETTER(int, sensorFailure)
GETTER(int, xmtrFailure)
#undef ACCESSORS
#undef FAILED
#undef SETTER
#undef GETTER
    // clang-format on

    std::uint8_t CVeskDoc::hardwareRev() const
{
    return static_cast<std::uint8_t>(m_pTransmitter->hardwareRev >> 3);
}

CVeskDoc::Tag CVeskDoc::tag() const
{
    Tag out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char16_t ch = m_pTransmitter->tag[i];
        out[i] = (ch != 0 && (ch < 32 || ch > 95)) ? u' ' : ch;
    }
    out[transmitter::kTagLength] = 0;
    return out;
}

void CVeskDoc::setTag(const Tag& value) { SetParameter<&X::tag>(value); }
bool CVeskDoc::tagFailed() const { return IsFailed<&X::tag>(); }

}  // namespace document
