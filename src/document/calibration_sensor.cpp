// The sensor trim of the Calibration page: limits, the checks before a trim, the trim and
// the status after it, and the return to the factory calibration.
#include "document/calibration_messages.h"
#include "document/calibration_rules.h"
#include "document/calibration_wait.h"
#include "document/vesk_doc.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

using hart::MessageIcon;
using transmitter::IsNotSet;

using tarvel::kCalibrationParametersInvalid;
using tarvel::kErrorsAfterReset;
using tarvel::kFactoryModeFailed;
using tarvel::kFactoryModeSet;
using tarvel::kLimitsUnreadable;
using tarvel::kLowerPointDone;
using tarvel::kLowerPointOutside;
using tarvel::kPointFarFromReading;
using tarvel::kRangeUnitsUnreadable;
using tarvel::kResetFailed;
using tarvel::kSensorTypeUnreadable;
using tarvel::kStatusForbidsTrim;
using tarvel::kStatusUnreadable;
using tarvel::kTrimUnitsUnreadable;
using tarvel::kUnitsNotAllowed;
using tarvel::kUpperPointDone;
using tarvel::kUpperPointOutside;
using tarvel::kUserModeFailed;

constexpr std::int32_t kFactoryCalibration = 0;
constexpr std::int32_t kUserCalibration = 1;

bool Refuse(CVeskDoc& doc, int message)
{
    ShowMessage(doc, message, MessageIcon::Error);
    return false;
}

}  // namespace

bool CVeskDoc::LoadSensorLimits()
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    if (!CheckWritable()) return false;
    const transmitter::SensorLimitsReading limits = m_pTransmitter->ReadSensorLimits();
    if (!limits.ok || limits.units == transmitter::kUnitsNotSet || IsNotSet(limits.upper) ||
        IsNotSet(limits.lower))
        return Refuse(*this, kLimitsUnreadable);
    setSensorLimitUnits(limits.units);
    setUpperSensorLimit(limits.upper);
    setLowerSensorLimit(limits.lower);
    return true;
}

bool CVeskDoc::PrepareSensorCalibration(bool upper)
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    if (!CheckWritable()) return false;
    const std::int32_t trimUnitsChosen = trimUnits();
    if (trimUnitsChosen == transmitter::kUnitsNotSet) return Refuse(*this, kTrimUnitsUnreadable);
    const std::int32_t rangeUnitsRead = m_pTransmitter->ReadRangeUnits();
    if (rangeUnitsRead == transmitter::kUnitsNotSet) return Refuse(*this, kRangeUnitsUnreadable);
    const std::int32_t sensorTypeRead = m_pTransmitter->ReadSensorType();
    if (sensorTypeRead == transmitter::kSensorNotSet) return Refuse(*this, kSensorTypeUnreadable);
    if (!TrimUnitsAllowed(sensorTypeRead, trimUnitsChosen, rangeUnitsRead))
        return Refuse(*this, kUnitsNotAllowed);

    // Command 142 answers with the transmitter's own units and trim points (or, failing,
    // wipes them). The document keeps holding what the page shows, whatever the outcome,
    // so that a retry trims the value the user sees.
    const float lowerEntered = trimLowerPoint();
    const float upperEntered = trimUpperPoint();
    setTrimUnits(trimUnitsChosen);
    m_pTransmitter->ReadCalibrationInfo();
    setTrimUnits(trimUnitsChosen);
    setTrimLowerPoint(lowerEntered);
    setTrimUpperPoint(upperEntered);

    if (IsNotSet(calUpperBound()) || IsNotSet(calLowerBound()) ||
        calibrationMode() == transmitter::kChoiceNotSet)
        return Refuse(*this, kCalibrationParametersInvalid);
    const float point = upper ? upperEntered : lowerEntered;
    if (IsNotSet(point) || calLowerBound() > point || point > calUpperBound())
        return Refuse(*this, upper ? kUpperPointOutside : kLowerPointOutside);

    const transmitter::AdditionalStatus status = m_pTransmitter->ReadAdditionalStatus();
    if (!status.ok) return Refuse(*this, kStatusUnreadable);
    if (StatusRefusesTrim(status)) return Refuse(*this, kStatusForbidsTrim);

    if (calibrationMode() == kUserCalibration) return true;
    setCalibrationMode(kUserCalibration);
    if (!m_pTransmitter->WriteCalibrationMode()) return Refuse(*this, kUserModeFailed);
    return true;
}

bool CVeskDoc::CalibrateSensorPoint(bool upper)
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    if (!PrepareSensorCalibration(upper)) return false;
    ShowWait();
    // A refused trim wipes the units and the point it sent; the page still shows them, and
    // a retry must send them again.
    const std::int32_t unitsSent = trimUnits();
    const float pointSent = upper ? trimUpperPoint() : trimLowerPoint();
    const bool trimmed =
        upper ? m_pTransmitter->TrimSensorUpper() : m_pTransmitter->TrimSensorLower();
    if (!trimmed) {
        setTrimUnits(unitsSent);
        if (upper)
            setTrimUpperPoint(pointSent);
        else
            setTrimLowerPoint(pointSent);
        return false;
    }
    RunCalibrationWait(CalibrationWait::Calibration);
    return ReportSensorCalibration(upper);
}

bool CVeskDoc::ReportSensorCalibration(bool upper)
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    const transmitter::AdditionalStatus status = m_pTransmitter->ReadAdditionalStatus();
    if (!status.ok) return Refuse(*this, kStatusUnreadable);
    if (HasCalibrationError(status)) {
        ShowMessage(*this, kPointFarFromReading, MessageIcon::Information);
        return false;
    }
    ShowMessage(*this, upper ? kUpperPointDone : kLowerPointDone, MessageIcon::Information);
    return true;
}

bool CVeskDoc::RestoreFactoryCalibration()
{
    const serial::PortHold hold = HoldPort();
    CursorRestorer restorer(*this);
    if (!CheckWritable()) return false;
    setCalibrationMode(kFactoryCalibration);
    if (!m_pTransmitter->WriteCalibrationMode()) return Refuse(*this, kFactoryModeFailed);
    transmitter::AdditionalStatus status = m_pTransmitter->ReadAdditionalStatus();
    if (!status.ok) return Refuse(*this, kStatusUnreadable);
    if (HasCalibrationError(status)) {
        // Only a restart clears the error bits of a trim the transmitter refused.
        if (!m_pTransmitter->ResetDevice()) return Refuse(*this, kResetFailed);
        RunCalibrationWait(CalibrationWait::Reset);
        status = m_pTransmitter->ReadAdditionalStatus();
        if (!status.ok) return Refuse(*this, kStatusUnreadable);
        if (HasCalibrationError(status)) {
            ShowMessage(*this, kErrorsAfterReset, MessageIcon::Information);
            return true;
        }
    }
    ShowMessage(*this, kFactoryModeSet, MessageIcon::Information);
    return true;
}

}  // namespace document
