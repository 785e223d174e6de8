#include "calibration/cal_prop_page.h"

#include <functional>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "calibration/cal_meas_dialog.h"
#include "calibration/cal_settings_dialog.h"
#include "calibration/progress_dialog.h"
#include "controls/color_combo_box.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "controls/tool_tip_ctrl.h"
#include "document/calibration_messages.h"
#include "document/calibration_rules.h"
#include "document/display_text.h"
#include "document/gui_thread_call.h"
#include "document/question_box.h"
#include "document/value_format.h"
#include "pages/focus_leave_check.h"
#include "pages/page_controls.h"
#include "resources/string_ids.h"
#include "resources/string_ids/calibration.h"
#include "transmitter/units.h"

using namespace document;
using hart::MessageIcon;
using tarvel::kNoFixedCurrent;
using transmitter::IsNotSet;

namespace {

// One device operation of a calibration on the command worker, never cut by a cancel;
// `ifBusy` when another command holds the worker.
template <typename Work>
std::invoke_result_t<Work&> OnWorker(CVeskDoc& doc, Work work, std::invoke_result_t<Work&> ifBusy)
{
    return RunCommand(doc.commands(), Cancel::NotAllowed, work).value_or(ifBusy);
}

enum ControlId {
    kLoopGroupId = 115,
    kDacGroupId = 116,
    kLowerLabelId = 130,
    kTwentyMaLabelId = 131,
    kFixedLabelId = 132,
    kFourMaLabelId = 133,
    kUpperLabelId = 134,
    kSensorGroupId = 1245,
    kFixedCurrentId = 1246,
    kSetFourMaId = 1247,
    kResetFixedId = 1248,
    kFixedUnitId = 1249,
    kStartLoopId = 1250,
    kReadingFourMaId = 1251,
    kFourMaUnitId = 1252,
    kLowerPointId = 1253,
    kLowerUnitId = 1254,
    kSetFixedId = 1255,
    kCalibrateLowerId = 1256,
    kUnitsId = 1257,
    kSetTwentyMaId = 1258,
    kReadingTwentyMaId = 1259,
    kTwentyMaUnitId = 1260,
    kUpperPointId = 1261,
    kUpperUnitId = 1262,
    kCalibrateUpperId = 1263,
    kUnitsLabelId = 1264,
    kResetCalibrationId = 1265,
    kStartSensorId = 1266,
};

using tarvel::kAgreesAtFourMa;
using tarvel::kAgreesAtTwentyMa;
using tarvel::kConnectMultimeter;
using tarvel::kEnterFourMa;
using tarvel::kEnterTwentyMa;
using tarvel::kLoopInterrupted;
using tarvel::kLowerPointSetUp;
using tarvel::kNoLowerPoint;
using tarvel::kNoUpperPoint;
using tarvel::kOutputCalibrated;
using tarvel::kRetryCalibration;
using tarvel::kUpperPointSetUp;

constexpr int kPointMaxChars = 8;
constexpr int kCurrentMaxChars = 5;
constexpr float kTwentyMa = 20.0f;

// Steps 0, 1, 2 of the sensor trim; the right half is locked while it runs.
constexpr CCalPropPage::StepRow kSensorSteps[] = {
    {kStartSensorId, {true, false, false}},  {kResetCalibrationId, {true, false, false}},
    {kLowerPointId, {false, true, false}},   {kCalibrateLowerId, {false, true, false}},
    {kUpperPointId, {false, false, true}},   {kCalibrateUpperId, {false, false, true}},
    {kUnitsId, {false, true, true}},         {kStartLoopId, {true, false, false}},
    {kSetFixedId, {true, false, false}},     {kResetFixedId, {true, false, false}},
    {kFixedCurrentId, {true, false, false}},
};

// Steps 0, 1, 2 of the output trim; the sensor half is locked while it runs.
constexpr CCalPropPage::StepRow kLoopSteps[] = {
    {kStartLoopId, {true, false, false}},   {kReadingFourMaId, {false, true, false}},
    {kSetFourMaId, {false, true, false}},   {kReadingTwentyMaId, {false, false, true}},
    {kSetTwentyMaId, {false, false, true}}, {kFixedCurrentId, {true, false, false}},
    {kSetFixedId, {true, false, false}},    {kResetFixedId, {true, false, false}},
    {kStartSensorId, {true, false, false}}, {kResetCalibrationId, {true, false, false}},
};

}  // namespace

CCalPropPage::CCalPropPage(QWidget* parent) : CConfigPage(parent)
{
    CreateControls();
    SetLoopStep(Step::Idle);
    SetSensorStep(Step::Idle);
}

CCalPropPage::~CCalPropPage()
{
    if (m_hookedDoc) m_hookedDoc->showCalibrationWait = nullptr;
}

void CCalPropPage::CreateControls()
{
    const DialogUnits units(font());
    setFixedSize(units.x(pages::kPageFormWidth), units.y(pages::kPageFormHeight));
    const pages::FormBuilder form(this, units);
    const auto tip = [](QWidget* widget, int stringId) {
        widget->setToolTip(LoadedText(stringId));
    };

    SetControlId(form.group(Utf8("Калибровка сенсора"), {4, 2, 152, 128}), kSensorGroupId);
    m_startSensor = form.button(kStartSensorId, Utf8("Начать калибровку"), {12, 14, 136, 15});
    tip(m_startSensor, 1329);
    form.label(Utf8("Единицы калибровки"), {12, 37, 76, 10}, kUnitsLabelId);
    m_units = form.colorList(kUnitsId, {90, 35, 58, 13}, 1312);
    form.label(Utf8("НП"), {12, 57, 14, 10}, kLowerLabelId);
    m_lowerPoint = form.colorEdit(kLowerPointId, {28, 55, 40, 13}, 1313);
    m_lowerUnit = form.label({}, {70, 57, 13, 10}, kLowerUnitId);
    tip(form.button(kCalibrateLowerId, Utf8("Калибровать НП"), {84, 54, 64, 15}), 1315);
    form.label(Utf8("ВП"), {12, 77, 14, 10}, kUpperLabelId);
    m_upperPoint = form.colorEdit(kUpperPointId, {28, 75, 40, 13}, 1314);
    m_upperUnit = form.label({}, {70, 77, 13, 10}, kUpperUnitId);
    tip(form.button(kCalibrateUpperId, Utf8("Калибровать ВП"), {84, 74, 64, 15}), 1316);
    tip(form.button(kResetCalibrationId, Utf8("Сброс калибровки"), {12, 109, 136, 15}), 1317);

    SetControlId(form.group(Utf8("Калибровка петли"), {160, 2, 158, 84}), kLoopGroupId);
    m_startLoop = form.button(kStartLoopId, Utf8("Начать калибровку"), {168, 14, 142, 15});
    tip(m_startLoop, 1318);
    form.label(Utf8("Калибровка точки 4mA"), {168, 33, 140, 10}, kFourMaLabelId);
    m_reading4mA = form.colorEdit(kReadingFourMaId, {168, 44, 36, 13}, 1319);
    form.label(Utf8("мА"), {206, 46, 14, 10}, kFourMaUnitId);
    tip(form.button(kSetFourMaId, Utf8("Установить"), {250, 43, 60, 15}), 1321);
    form.label(Utf8("Калибровка точки 20mA"), {168, 59, 140, 10}, kTwentyMaLabelId);
    m_reading20mA = form.colorEdit(kReadingTwentyMaId, {168, 70, 36, 13}, 1320);
    form.label(Utf8("мА"), {206, 72, 14, 10}, kTwentyMaUnitId);
    tip(form.button(kSetTwentyMaId, Utf8("Установить"), {250, 69, 60, 15}), 1322);

    SetControlId(form.group(Utf8("Проверка ЦАП"), {160, 88, 158, 42}), kDacGroupId);
    form.label(Utf8("Фиксированный ток"), {168, 99, 140, 10}, kFixedLabelId);
    m_fixedCurrent = form.colorEdit(kFixedCurrentId, {168, 111, 30, 13}, 1323);
    form.label(Utf8("мА"), {200, 113, 12, 10}, kFixedUnitId);
    tip(form.button(kSetFixedId, Utf8("Установить"), {214, 110, 50, 15}), 1324);
    tip(form.button(kResetFixedId, Utf8("Сброс"), {266, 110, 44, 15}), 1325);

    QStringList unitEntries;
    for (int i = 0; i < transmitter::kCalibrationUnitCount; ++i)
        unitEntries << UnitText(transmitter::CalibrationUnitFromListIndex(i));
    pages::FillList(m_units, unitEntries);
    m_units->setCurrentIndex(0);
    m_lowerUnit->setText(unitEntries.first());
    m_upperUnit->setText(unitEntries.first());

    m_lowerPoint->SetTypingLimit(kPointMaxChars);
    m_upperPoint->SetTypingLimit(kPointMaxChars);
    for (CMyColorEdit* current : {m_reading4mA, m_reading20mA, m_fixedCurrent})
        current->SetTypingLimit(kCurrentMaxChars);

    const auto clicked = [this](int id, auto handler) {
        connect(FindControlAs<QPushButton>(this, id), &QPushButton::clicked, this, handler);
    };
    clicked(kStartSensorId, [this] { OnStartSensor(); });
    clicked(kCalibrateLowerId, [this] { OnCalibratePoint(false); });
    clicked(kCalibrateUpperId, [this] { OnCalibratePoint(true); });
    clicked(kResetCalibrationId, [this] { OnResetCalibration(); });
    clicked(kStartLoopId, [this] { OnStartLoop(); });
    clicked(kSetFourMaId, [this] { OnSetPoint(false); });
    clicked(kSetTwentyMaId, [this] { OnSetPoint(true); });
    clicked(kSetFixedId, [this] { OnSetFixedCurrent(); });
    clicked(kResetFixedId, [this] { OnResetFixedCurrent(); });

    // The user's choice only: the start of a calibration selects the units itself.
    connect(m_units, &QComboBox::activated, this, &CCalPropPage::OnUnitsChosen);
    // Every change of the number fields is stored, also emptying them from the program.
    connect(m_lowerPoint, &QLineEdit::textChanged, this, &CCalPropPage::OnLowerPointChanged);
    connect(m_upperPoint, &QLineEdit::textChanged, this, &CCalPropPage::OnUpperPointChanged);
    connect(m_reading4mA, &QLineEdit::textChanged, this,
            [this] { OnReadingChanged(m_reading4mA, &CVeskDoc::setMeasured4mA); });
    connect(m_reading20mA, &QLineEdit::textChanged, this,
            [this] { OnReadingChanged(m_reading20mA, &CVeskDoc::setMeasured20mA); });
    connect(m_fixedCurrent, &QLineEdit::textChanged, this,
            [this] { OnReadingChanged(m_fixedCurrent, &CVeskDoc::setFixedCurrent); });
    for (CMyColorEdit* reading : {m_reading4mA, m_reading20mA})
        new pages::FocusLeaveCheck(reading, [this, reading] { return ReadingMayBeLeft(reading); });
    new CToolTipCtrl(this);
}

void CCalPropPage::SetDocument(CVeskDoc* doc)
{
    if (m_hookedDoc) m_hookedDoc->showCalibrationWait = nullptr;
    CConfigPage::SetDocument(doc);
    m_hookedDoc = doc;
    if (doc != nullptr)
        // Asked for on the command worker; the wait dialog shows on this page's thread.
        doc->showCalibrationWait = [this](CVeskDoc::CalibrationWait wait) {
            RunOnThreadOfAndWait(this, [this, wait] { ShowWaitDialog(wait); });
        };
}

bool CCalPropPage::RefreshFromDocument() { return false; }

void CCalPropPage::EnableDeviceControls(bool enable)
{
    for (int id : {kStartSensorId, kResetCalibrationId, kStartLoopId, kFixedCurrentId, kSetFixedId,
                   kResetFixedId})
        SetControlEnabled(id, enable);
}

void CCalPropPage::SetControlEnabled(int controlId, bool enable)
{
    if (controlId == kStartLoopId) enable = enable && !m_fixedCurrentForced;
    FindControl(this, controlId)->setEnabled(enable);
}

void CCalPropPage::SetSensorStep(Step step)
{
    m_sensorStep = step;
    UpdateProcedureHold();
    EnterStep(kSensorSteps, step,
              {{m_lowerPoint, &CVeskDoc::setTrimLowerPoint},
               {m_upperPoint, &CVeskDoc::setTrimUpperPoint}});
}

void CCalPropPage::SetLoopStep(Step step)
{
    m_loopStep = step;
    UpdateProcedureHold();
    EnterStep(kLoopSteps, step,
              {{m_reading4mA, &CVeskDoc::setMeasured4mA},
               {m_reading20mA, &CVeskDoc::setMeasured20mA},
               {m_fixedCurrent, &CVeskDoc::setFixedCurrent}});
}

void CCalPropPage::UpdateProcedureHold()
{
    if (m_sensorStep == Step::Idle && m_loopStep == Step::Idle) {
        m_procedureHold.reset();
    } else if (!m_procedureHold && m_pDoc != nullptr) {
        m_procedureHold.emplace(m_pDoc->HoldPort());
    }
}

void CCalPropPage::EnterStep(std::span<const StepRow> rows, Step step,
                             std::initializer_list<ProcedureValue> values)
{
    for (const StepRow& row : rows)
        SetControlEnabled(row.controlId, row.enabled[static_cast<int>(step)]);
    // Back at step 0 the procedure's values are forgotten, in the fields as in the document.
    if (step == Step::Idle)
        for (const ProcedureValue& value : values) value.field->clear();
    if (m_pDoc == nullptr) return;
    m_pDoc->EnableMainControls(step == Step::Idle);
    if (step == Step::Idle)
        // Through std::invoke: built by g++ 12 with -fsanitize=undefined, this loop's `->*` call
        // reached a bogus object address and crashed the sanitizer build's tests.
        for (const ProcedureValue& value : values)
            std::invoke(value.store, *m_pDoc, transmitter::kNotSetFloat);
}

void CCalPropPage::Inform(int messageId)
{
    ShowMessage(*m_pDoc, messageId, MessageIcon::Information);
}

void CCalPropPage::Remark(int messageId) { ShowMessage(*m_pDoc, messageId, MessageIcon::None); }

int CCalPropPage::Ask(int messageId, int style) { return AskQuestion(*m_pDoc, messageId, style); }

bool CCalPropPage::RunStabilisation()
{
    CCalMeasDialog dialog(*m_pDoc, this);
    return dialog.exec() == QDialog::Accepted;
}

void CCalPropPage::ShowWaitDialog(CVeskDoc::CalibrationWait wait)
{
    CProgressDialog dialog(wait, m_waitClock, this);
    dialog.exec();
}

// ---- sensor calibration -------------------------------------------------------------

void CCalPropPage::OnUnitsChosen(int index)
{
    const std::int32_t units = transmitter::CalibrationUnitFromListIndex(index);
    m_lowerUnit->setText(UnitText(units));
    m_upperUnit->setText(UnitText(units));
    if (m_pDoc != nullptr && units != transmitter::kUnitsNotSet) m_pDoc->setTrimUnits(units);
}

void CCalPropPage::OnLowerPointChanged()
{
    const QString text = pages::FilterFieldText(m_lowerPoint, true);
    if (m_pDoc != nullptr) m_pDoc->setTrimLowerPoint(ParseValueText(text));
}

void CCalPropPage::OnUpperPointChanged()
{
    const QString text = pages::FilterFieldText(m_upperPoint, true);
    if (m_pDoc != nullptr) m_pDoc->setTrimUpperPoint(ParseValueText(text));
}

void CCalPropPage::OnStartSensor()
{
    if (m_pDoc == nullptr) return;
    if (!OnWorker(
            *m_pDoc, [this] { return m_pDoc->LoadSensorLimits(); }, false)) {
        SetSensorStep(Step::Idle);
        return;
    }
    std::int32_t units = m_pDoc->sensorLimitUnits();
    CCalSettingsDialog settings(this);
    settings.SetTransmitterSettings(units, m_pDoc->upperSensorLimit(), m_pDoc->lowerSensorLimit());
    if (units < transmitter::kUnitCelsius || units > transmitter::kUnitOhm)
        units = transmitter::kUnitCelsius;
    m_units->setCurrentIndex(transmitter::CalibrationListIndexFromUnit(units));
    m_lowerUnit->setText(UnitText(units));
    m_upperUnit->setText(UnitText(units));
    m_pDoc->setTrimUnits(units);
    settings.SetCalibrationType(m_pDoc->calibrationType());
    if (settings.exec() != QDialog::Accepted) return;

    m_pDoc->setCalibrationType(settings.calibrationType());
    SetSensorStep(Step::FirstPoint);
    Inform(kLowerPointSetUp);
    if (!RunStabilisation()) SetSensorStep(Step::Idle);
}

void CCalPropPage::OnCalibratePoint(bool upper)
{
    if (m_pDoc == nullptr) return;
    CMyColorEdit* edit = upper ? m_upperPoint : m_lowerPoint;
    if (IsNotSet(upper ? m_pDoc->trimUpperPoint() : m_pDoc->trimLowerPoint())) {
        Remark(upper ? kNoUpperPoint : kNoLowerPoint);
        return;
    }
    if (!OnWorker(
            *m_pDoc, [this, upper] { return m_pDoc->CalibrateSensorPoint(upper); }, false)) {
        // "Да" leaves the step as it is, for a corrected value.
        if (Ask(kRetryCalibration, MB_YESNO) == IDYES) return;
        edit->clear();
        SetSensorStep(Step::Idle);
        return;
    }
    edit->clear();
    if (upper || m_pDoc->calibrationType() == kLowerPointOnly) {
        SetSensorStep(Step::Idle);
        return;
    }
    Inform(kUpperPointSetUp);
    SetSensorStep(RunStabilisation() ? Step::SecondPoint : Step::Idle);
}

void CCalPropPage::OnResetCalibration()
{
    if (m_pDoc != nullptr)
        OnWorker(
            *m_pDoc, [this] { return m_pDoc->RestoreFactoryCalibration(); }, false);
}

// ---- output calibration and fixed current ---------------------------------------------

void CCalPropPage::OnReadingChanged(CMyColorEdit* edit, void (CVeskDoc::*store)(float))
{
    const QString text = pages::FilterFieldText(edit, false);
    // std::invoke for the same reason as in EnterStep.
    if (m_pDoc != nullptr) std::invoke(store, *m_pDoc, ParseValueText(text));
}

bool CCalPropPage::ReadingMayBeLeft(CMyColorEdit* edit)
{
    // A field the procedure has just locked was not left by the user.
    if (m_pDoc == nullptr || !edit->isEnabled()) return true;
    const LoopPoint point = edit == m_reading4mA ? LoopPoint::FourMa : LoopPoint::TwentyMa;
    const std::optional<MeterReadingWarning> warning = CheckMeterReading(point, edit->text());
    if (!warning) return true;
    Remark(warning->messageId);
    return !warning->refocus;
}

void CCalPropPage::OnStartLoop()
{
    if (m_pDoc == nullptr) return;
    if (Ask(kConnectMultimeter, MB_OKCANCEL) != IDOK) return;
    if (!OnWorker(
            *m_pDoc, [this] { return m_pDoc->BeginOutputCalibration(); }, false)) {
        SetLoopStep(Step::Idle);
        return;
    }
    SetLoopStep(Step::FirstPoint);
    Inform(kEnterFourMa);
}

void CCalPropPage::OnSetPoint(bool twentyMa)
{
    if (m_pDoc == nullptr) return;
    CMyColorEdit* edit = twentyMa ? m_reading20mA : m_reading4mA;
    const int enterReading = twentyMa ? kEnterTwentyMa : kEnterFourMa;
    const auto endLoop = [&] {
        SetLoopStep(Step::Idle);
        Inform(kLoopInterrupted);
        edit->clear();
    };

    const auto trim = [this, twentyMa] {
        return twentyMa ? m_pDoc->CalibrateOutput20mA() : m_pDoc->CalibrateOutput4mA();
    };
    switch (OnWorker(*m_pDoc, trim, CVeskDoc::LoopTrimOutcome::Ended)) {
    case CVeskDoc::LoopTrimOutcome::Ended: endLoop(); return;
    case CVeskDoc::LoopTrimOutcome::Retry: Inform(enterReading); return;
    case CVeskDoc::LoopTrimOutcome::Trimmed: break;
    }
    switch (Ask(twentyMa ? kAgreesAtTwentyMa : kAgreesAtFourMa, MB_YESNOCANCEL)) {
    case IDYES:
        edit->clear();
        if (twentyMa) {
            ApplyFixedCurrent(false, false);
            Inform(kOutputCalibrated);
            SetLoopStep(Step::Idle);
            return;
        }
        m_pDoc->setFixedCurrent(kTwentyMa);
        if (ApplyFixedCurrent(true, false)) {
            SetLoopStep(Step::SecondPoint);
            Inform(kEnterTwentyMa);
        }
        return;
    case IDNO:
        // The meter now shows the corrected current: the user types it and tries again.
        Inform(enterReading);
        return;
    default:
        ApplyFixedCurrent(false, false);
        endLoop();
        return;
    }
}

bool CCalPropPage::ApplyFixedCurrent(bool set, bool interactive)
{
    return OnWorker(
        *m_pDoc, [this, set, interactive] { return m_pDoc->ApplyFixedCurrent(set, interactive); },
        false);
}

void CCalPropPage::OnSetFixedCurrent()
{
    if (m_pDoc == nullptr) return;
    if (IsNotSet(m_pDoc->fixedCurrent())) {
        Remark(kNoFixedCurrent);
        return;
    }
    if (!ApplyFixedCurrent(true, true)) return;
    m_fixedCurrentForced = true;
    SetControlEnabled(kStartLoopId, false);
}

void CCalPropPage::OnResetFixedCurrent()
{
    if (m_pDoc == nullptr || !ApplyFixedCurrent(false, true)) return;
    m_fixedCurrent->clear();
    m_fixedCurrentForced = false;
    SetControlEnabled(kStartLoopId, true);
}
