#include "pages/basic_prop_page.h"

#include <QLabel>
#include <QPushButton>

#include "controls/color_combo_box.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "controls/tool_tip_ctrl.h"
#include "document/basic_field_rules.h"
#include "document/basic_page_view.h"
#include "document/basic_send_check.h"
#include "document/display_text.h"
#include "document/page_values.h"
#include "document/value_format.h"
#include "document/vesk_doc.h"
#include "pages/focus_leave_check.h"
#include "pages/page_controls.h"
#include "transmitter/sensor_table.h"

using namespace document;
using pages::TemplateRect;

namespace {

enum ControlId {
    kTagId = 123,
    kSensorId = 125,
    kConnectionId = 127,
    kUnitsId = 129,
    kLowerRangeId = 131,
    kLowerRangeUnitId = 132,
    kUpperRangeId = 134,
    kUpperRangeUnitId = 135,
    kLowerLimitId = 137,
    kLowerLimitUnitId = 138,
    kUpperLimitId = 140,
    kUpperLimitUnitId = 141,
    kDampingId = 143,
    kSendId = 1244,
};

constexpr int kTagMaxChars = 8;
constexpr int kPointMaxChars = 7;
constexpr int kDampingMaxChars = 4;
constexpr std::size_t kFirstReportLine = 0;  // the Basic section opens the report

}  // namespace

CBasicPropPage::CBasicPropPage(QWidget* parent) : CConfigPage(parent)
{
    CreateControls();
    pages::FillList(m_sensor, SensorListEntries());
    // Before any document is shown, the dependent lists offer everything.
    pages::FillList(m_connection, ConnectionListEntries(0));
    pages::FillList(m_units, UnitListEntries(0));
}

void CBasicPropPage::CreateControls()
{
    const DialogUnits units(font());
    setFixedSize(units.x(pages::kPageFormWidth), units.y(pages::kPageFormHeight));
    const pages::FormBuilder form(this, units);

    form.group(Utf8("Идентификация"), {4, 2, 152, 30});
    form.label(Utf8("Тег"), {12, 16, 30, 10});
    m_tag = form.colorEdit(kTagId, {44, 14, 104, 13}, 1206);
    m_tag->SetTypingLimit(kTagMaxChars);

    form.group(Utf8("Конфигурация входного сигнала"), {4, 36, 152, 52});
    form.label(Utf8("Тип сенсора"), {12, 51, 48, 10});
    m_sensor = form.colorList(kSensorId, {60, 49, 88, 13}, 1207);
    form.label(Utf8("Соединение"), {12, 69, 48, 10});
    m_connection = form.colorList(kConnectionId, {60, 67, 88, 13}, 1208);

    form.group(Utf8("Демпфирование"), {4, 92, 152, 38});
    form.label(Utf8("Время демпфирования\n(0-32 сек, 0.1 сек.шаг)"), {12, 103, 100, 20});
    m_damping = form.colorEdit(kDampingId, {114, 107, 34, 13}, 1218);
    m_damping->SetTypingLimit(kDampingMaxChars);

    form.group(Utf8("Конфигурация выходного сигнала"), {160, 2, 160, 110});
    form.label(Utf8("Единицы измерения"), {168, 16, 90, 10});
    m_units = form.colorList(kUnitsId, {260, 14, 55, 13}, 1209);
    form.label(Utf8("Точка 4 мА"), {168, 35, 90, 10});
    m_lowerRange = form.colorEdit(kLowerRangeId, {260, 33, 37, 13}, 1210);
    m_lowerRangeUnit = form.label({}, {299, 35, 16, 10}, kLowerRangeUnitId);
    form.label(Utf8("Точка 20 мА"), {168, 54, 90, 10});
    m_upperRange = form.colorEdit(kUpperRangeId, {260, 52, 37, 13}, 1212);
    m_upperRangeUnit = form.label({}, {299, 54, 16, 10}, kUpperRangeUnitId);
    form.label(Utf8("Нижн. предел диапазона"), {168, 73, 90, 10});
    m_lowerLimit = form.colorEdit(kLowerLimitId, {260, 71, 37, 13}, 1214);
    m_lowerLimitUnit = form.label({}, {299, 73, 16, 10}, kLowerLimitUnitId);
    form.label(Utf8("Верх. предел диапазона"), {168, 92, 90, 10});
    m_upperLimit = form.colorEdit(kUpperLimitId, {260, 90, 37, 13}, 1216);
    m_upperLimitUnit = form.label({}, {299, 92, 16, 10}, kUpperLimitUnitId);
    m_lowerRange->SetTypingLimit(kPointMaxChars);
    m_upperRange->SetTypingLimit(kPointMaxChars);
    m_lowerLimit->setReadOnly(true);
    m_upperLimit->setReadOnly(true);
    m_lowerRangeUnit->setToolTip(LoadedText(1211));
    m_upperRangeUnit->setToolTip(LoadedText(1213));
    m_lowerLimitUnit->setToolTip(LoadedText(1215));
    m_upperLimitUnit->setToolTip(LoadedText(1217));

    m_send = form.button(kSendId, Utf8("Отправить в устройство"), {218, 116, 102, 16});

    // Only the user's own edits and choices count as changes: the refresh writes the same
    // controls without storing anything back.
    connect(m_tag, &QLineEdit::textEdited, this, &CBasicPropPage::OnTagEdited);
    connect(m_sensor, &QComboBox::activated, this, &CBasicPropPage::OnSensorChosen);
    connect(m_connection, &QComboBox::activated, this, &CBasicPropPage::OnConnectionChosen);
    connect(m_units, &QComboBox::activated, this, &CBasicPropPage::OnUnitsChosen);
    connect(m_lowerRange, &QLineEdit::textEdited, this, &CBasicPropPage::OnLowerRangeEdited);
    connect(m_upperRange, &QLineEdit::textEdited, this, &CBasicPropPage::OnUpperRangeEdited);
    connect(m_damping, &QLineEdit::textEdited, this, &CBasicPropPage::OnDampingEdited);
    connect(m_send, &QPushButton::clicked, this, &CBasicPropPage::OnSend);
    new pages::FocusLeaveCheck(m_damping, [this] { return DampingMayBeLeft(); });
    new CToolTipCtrl(this);
}

bool CBasicPropPage::RefreshFromDocument()
{
    if (m_pDoc == nullptr) return false;
    const PageValues values = PageValuesOf(*m_pDoc);
    const BasicPageView view = BasicPageViewOf(values);
    const FailedFlags& failed = values.failed;

    pages::ShowFailed(m_tag, failed.test(ValueFlag::Tag));
    m_tag->ShowText(view.tag);
    m_sensor->setCurrentIndex(view.sensorIndex);
    pages::ShowFailed(m_sensor, failed.test(ValueFlag::SensorType));
    RebuildDependentLists(view.sensorIndex);
    pages::ShowFailed(m_connection, failed.test(ValueFlag::SensorConnection));
    pages::ShowFailed(m_units, failed.test(ValueFlag::RangeUnits));
    pages::ShowFailed(m_lowerRange, failed.test(ValueFlag::LowerRangeValue));
    pages::ShowFailed(m_upperRange, failed.test(ValueFlag::UpperRangeValue));
    pages::ShowFailed(m_damping, failed.test(ValueFlag::Damping));
    m_lowerRange->ShowText(view.lowerRangeText);
    m_upperRange->ShowText(view.upperRangeText);
    m_damping->ShowText(view.dampingText);
    // The units shown decide the limits and may turn a unit the sensor lacks into its own.
    OnUnitsChosen(m_units->currentIndex());
    return view.flagged;
}

void CBasicPropPage::EnableDeviceControls(bool enable) { m_send->setEnabled(enable); }

bool CBasicPropPage::ValidateForSend()
{
    if (m_pDoc == nullptr) return false;
    const BasicSelection selection{m_sensor->currentIndex(), m_connection->currentIndex(),
                                   m_units->currentIndex()};
    return ValidateBasicSend(BasicSendValuesFor(selection, PageValuesOf(*m_pDoc)), m_pDoc->ui());
}

std::vector<ReportLine> CBasicPropPage::PrintSection() const
{
    if (m_pDoc == nullptr) return {};
    return pages::SectionAsShown(PageValuesOf(*m_pDoc), kFirstReportLine,
                                 {
                                     {m_tag->text(), {}},
                                     {m_sensor->currentText(), {}},
                                     {m_connection->currentText(), {}},
                                     {m_lowerRange->text(), m_lowerRangeUnit->text()},
                                     {m_upperRange->text(), m_upperRangeUnit->text()},
                                     {m_lowerLimit->text(), m_lowerLimitUnit->text()},
                                     {m_upperLimit->text(), m_upperLimitUnit->text()},
                                     {m_damping->text(), {}},
                                 });
}

void CBasicPropPage::OnTagEdited()
{
    if (m_pDoc == nullptr) return;
    const QString typed = m_tag->text();
    QString text = typed.toUpper();
    text = RemoveInvalidTagCharacters(text, m_pDoc->ui());
    if (text != typed) {
        const int caret = m_tag->cursorPosition() - static_cast<int>(typed.size() - text.size());
        m_tag->setText(text);
        m_tag->setCursorPosition(caret);
        if (text.size() != typed.size()) m_tag->setFocus();
    }
    m_pDoc->setTag(TagFromText(text));
}

void CBasicPropPage::OnSensorChosen(int index)
{
    if (m_pDoc == nullptr) return;
    RebuildDependentLists(index);
    StoreSensorChoice(*m_pDoc, index);
    ShowUnits(UnitsDisplayFor(index, m_units->currentIndex()));
}

void CBasicPropPage::OnConnectionChosen(int index)
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setSensorConnection(ConnectionCodeFromIndex(index));
}

void CBasicPropPage::OnUnitsChosen(int index)
{
    if (m_pDoc == nullptr) return;
    const int sensorIndex = m_sensor->currentIndex();
    StoreUnitsChoice(*m_pDoc, sensorIndex, UnitCodeFromIndex(sensorIndex, index));
    ShowUnits(UnitsDisplayFor(sensorIndex, index));
}

void CBasicPropPage::OnLowerRangeEdited()
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setLowerRangeValue(ParseValueText(pages::FilterFieldText(m_lowerRange, true)));
}

void CBasicPropPage::OnUpperRangeEdited()
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setUpperRangeValue(ParseValueText(pages::FilterFieldText(m_upperRange, true)));
}

void CBasicPropPage::OnDampingEdited()
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setDamping(ParseValueText(pages::FilterFieldText(m_damping, false)));
}

bool CBasicPropPage::DampingMayBeLeft()
{
    return m_pDoc == nullptr || CheckDampingLimit(m_damping->text(), m_pDoc->ui());
}

void CBasicPropPage::OnSend()
{
    if (ValidateForSend())
        m_pDoc->commands().Run([this] { m_pDoc->OnSendBasic(); }, document::Cancel::NotAllowed);
}

void CBasicPropPage::RebuildDependentLists(int sensorIndex)
{
    pages::FillList(m_connection, ConnectionListEntries(sensorIndex));
    pages::FillList(m_units, UnitListEntries(sensorIndex));
    const int connectionIndex =
        m_pDoc ? ConnectionIndexFromCode(sensorIndex, m_pDoc->sensorConnection()) : 0;
    const int unitsIndex = m_pDoc ? UnitsIndexFromCode(sensorIndex, m_pDoc->rangeUnits()) : 0;
    m_connection->setCurrentIndex(connectionIndex);
    m_units->setCurrentIndex(unitsIndex);
}

void CBasicPropPage::ShowUnits(const UnitsDisplay& units)
{
    m_lowerLimit->setText(units.lowerLimitText);
    m_upperLimit->setText(units.upperLimitText);
    m_lowerRangeUnit->setText(units.lowerUnitLabel);
    m_lowerLimitUnit->setText(units.lowerUnitLabel);
    m_upperRangeUnit->setText(units.upperUnitLabel);
    m_upperLimitUnit->setText(units.upperUnitLabel);
}
