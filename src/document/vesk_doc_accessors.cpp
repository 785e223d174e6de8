// The only path between the pages and the parameter set. Every setter stores the value and
// clears its failed flag; the tracked ones first mark the document changed when they see a
// change, each with its own notion of "change".
#include "vesk_doc.h"

namespace document {

using transmitter::IsNotSet;

void CVeskDoc::MarkChanged()
{
    m_modified = true;
    MarkHasData();
}

template <typename T>
void CVeskDoc::SetTracked(T& stored, int& failed, T value)
{
    if (stored != value) MarkChanged();
    stored = value;
    failed = 0;
}

void CVeskDoc::SetFloatNotSetAware(float& stored, int& failed, float value)
{
    const bool bothNotSet = IsNotSet(stored) && IsNotSet(value);
    if (!bothNotSet && stored != value) MarkChanged();
    stored = value;
    failed = 0;
}

void CVeskDoc::SetFloatPlain(float& stored, int& failed, float value)
{
    // Any inequality counts, so one not-set value replacing another is a change.
    if (!(stored == value)) MarkChanged();
    stored = value;
    failed = 0;
}

int CVeskDoc::progress() const { return m_pTransmitter->progress; }

#define TRACKED_CODE(name)                                                              \
    std::int32_t CVeskDoc::name() const { return m_pTransmitter->name; }                \
    bool CVeskDoc::name##Failed() const { return m_pTransmitter->name##Failed != 0; }

TRACKED_CODE(sensorType)
TRACKED_CODE(sensorConnection)
TRACKED_CODE(rangeUnits)
TRACKED_CODE(alarmSelect)
TRACKED_CODE(lineFilter)
TRACKED_CODE(writeProtect)
#undef TRACKED_CODE

void CVeskDoc::setSensorType(std::int32_t v) { SetTracked(m_pTransmitter->sensorType, m_pTransmitter->sensorTypeFailed, v); }
void CVeskDoc::setSensorConnection(std::int32_t v)
{
    SetTracked(m_pTransmitter->sensorConnection, m_pTransmitter->sensorConnectionFailed, v);
}
void CVeskDoc::setRangeUnits(std::int32_t v) { SetTracked(m_pTransmitter->rangeUnits, m_pTransmitter->rangeUnitsFailed, v); }
void CVeskDoc::setAlarmSelect(std::int32_t v) { SetTracked(m_pTransmitter->alarmSelect, m_pTransmitter->alarmSelectFailed, v); }
void CVeskDoc::setLineFilter(std::int32_t v) { SetTracked(m_pTransmitter->lineFilter, m_pTransmitter->lineFilterFailed, v); }
void CVeskDoc::setWriteProtect(std::int32_t v) { SetTracked(m_pTransmitter->writeProtect, m_pTransmitter->writeProtectFailed, v); }

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

void CVeskDoc::setTag(const Tag& value)
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (m_pTransmitter->tag[i] != value[i]) {
            MarkChanged();
            m_pTransmitter->tag[i] = value[i];
        }
    }
    m_pTransmitter->tagFailed = 0;
}

bool CVeskDoc::tagFailed() const { return m_pTransmitter->tagFailed != 0; }

#define FLOAT_VALUE(name, setter, change)                                               \
    float CVeskDoc::name() const { return m_pTransmitter->name; }                       \
    void CVeskDoc::setter(float v) { change(m_pTransmitter->name, m_pTransmitter->name##Failed, v); } \
    bool CVeskDoc::name##Failed() const { return m_pTransmitter->name##Failed != 0; }

FLOAT_VALUE(lowerRangeValue, setLowerRangeValue, SetFloatNotSetAware)
FLOAT_VALUE(upperRangeValue, setUpperRangeValue, SetFloatNotSetAware)
FLOAT_VALUE(damping, setDamping, SetFloatNotSetAware)
FLOAT_VALUE(lowAlmVal, setLowAlmVal, SetFloatPlain)
FLOAT_VALUE(highAlmVal, setHighAlmVal, SetFloatPlain)
FLOAT_VALUE(lowSatVal, setLowSatVal, SetFloatPlain)
FLOAT_VALUE(highSatVal, setHighSatVal, SetFloatPlain)
#undef FLOAT_VALUE

std::int32_t CVeskDoc::sensorLimitUnits() const { return m_pTransmitter->sensorLimitUnits; }
void CVeskDoc::setSensorLimitUnits(std::int32_t v) { m_pTransmitter->sensorLimitUnits = v; }

#define UNTRACKED_FLOAT(name, setter)                                                   \
    float CVeskDoc::name() const { return m_pTransmitter->name; }                       \
    void CVeskDoc::setter(float v)                                                      \
    {                                                                                   \
        m_pTransmitter->name = v;                                                       \
        m_pTransmitter->name##Failed = 0;                                               \
    }

UNTRACKED_FLOAT(upperSensorLimit, setUpperSensorLimit)
UNTRACKED_FLOAT(lowerSensorLimit, setLowerSensorLimit)
UNTRACKED_FLOAT(fixedCurrent, setFixedCurrent)
UNTRACKED_FLOAT(measured4mA, setMeasured4mA)
UNTRACKED_FLOAT(measured20mA, setMeasured20mA)
UNTRACKED_FLOAT(trimUpperPoint, setTrimUpperPoint)
UNTRACKED_FLOAT(trimLowerPoint, setTrimLowerPoint)
#undef UNTRACKED_FLOAT

bool CVeskDoc::upperSensorLimitFailed() const { return m_pTransmitter->upperSensorLimitFailed != 0; }
bool CVeskDoc::lowerSensorLimitFailed() const { return m_pTransmitter->lowerSensorLimitFailed != 0; }

std::int32_t CVeskDoc::trimUnits() const { return m_pTransmitter->trimUnits; }
void CVeskDoc::setTrimUnits(std::int32_t v)
{
    m_pTransmitter->trimUnits = v;
    m_pTransmitter->trimUnitsFailed = 0;
}
std::int32_t CVeskDoc::calibrationMode() const { return m_pTransmitter->calibrationMode; }
void CVeskDoc::setCalibrationMode(std::int32_t v)
{
    m_pTransmitter->calibrationMode = v;
    m_pTransmitter->calibrationModeFailed = 0;
}
std::int32_t CVeskDoc::calibrationType() const { return m_pTransmitter->calibrationType; }
void CVeskDoc::setCalibrationType(std::int32_t v) { m_pTransmitter->calibrationType = v; }
float CVeskDoc::calUpperBound() const { return m_pTransmitter->calUpperBound; }
float CVeskDoc::calLowerBound() const { return m_pTransmitter->calLowerBound; }

std::uint8_t CVeskDoc::universalRev() const { return m_pTransmitter->universalRev; }
std::uint8_t CVeskDoc::deviceRev() const { return m_pTransmitter->deviceRev; }
std::uint8_t CVeskDoc::softwareRev() const { return m_pTransmitter->softwareRev; }
std::uint8_t CVeskDoc::hardwareRev() const { return static_cast<std::uint8_t>(m_pTransmitter->hardwareRev >> 3); }
std::int32_t CVeskDoc::finalAssemblyNumber() const { return m_pTransmitter->finalAssemblyNumber; }
std::uint8_t CVeskDoc::xmtrAsmDay() const { return m_pTransmitter->xmtrAsmDay; }
std::uint8_t CVeskDoc::xmtrAsmMonth() const { return m_pTransmitter->xmtrAsmMonth; }
std::uint8_t CVeskDoc::xmtrAsmYear() const { return m_pTransmitter->xmtrAsmYear; }
float CVeskDoc::sensorTemp() const { return m_pTransmitter->sensorTemp; }
std::int32_t CVeskDoc::sensorTempUnits() const { return m_pTransmitter->sensorTempUnits; }
float CVeskDoc::xmtrTemp() const { return m_pTransmitter->xmtrTemp; }
std::int32_t CVeskDoc::xmtrTempUnits() const { return m_pTransmitter->xmtrTempUnits; }
float CVeskDoc::loopCurrent() const { return m_pTransmitter->loopCurrent; }
int CVeskDoc::sensorFailure() const { return m_pTransmitter->sensorFailure; }
int CVeskDoc::xmtrFailure() const { return m_pTransmitter->xmtrFailure; }

}  // namespace document
