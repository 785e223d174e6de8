#include "pages/advanced_prop_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "controls/color_combo_box.h"
#include "controls/dialog_units.h"
#include "controls/tool_tip_ctrl.h"
#include "document/advanced_send_check.h"
#include "document/basic_page_lists.h"
#include "document/display_text.h"
#include "document/page_values.h"
#include "document/value_format.h"
#include "document/vesk_doc.h"
#include "pages/page_controls.h"

using namespace document;

namespace {

enum ControlId {
    kAlarmId = 145,
    kLowAlarmId = 147,
    kHighAlarmId = 149,
    kLowSaturationId = 151,
    kHighSaturationId = 153,
    kLineFilterId = 155,
    kWriteProtectId = 157,
    kSendId = 1244,
};

constexpr std::size_t kFirstReportLine = 8;  // after the eight Basic lines

constexpr AlarmLevel kLevels[] = {AlarmLevel::LowAlarm, AlarmLevel::HighAlarm,
                                  AlarmLevel::LowSaturation, AlarmLevel::HighSaturation};

}  // namespace

CAdvancedPropPage::CAdvancedPropPage(QWidget* parent) : CConfigPage(parent)
{
    CreateControls();
    pages::FillList(m_alarm, ChoiceListEntries(AdvancedChoice::AlarmSelect));
    pages::FillList(m_lineFilter, ChoiceListEntries(AdvancedChoice::LineFilter));
    pages::FillList(m_writeProtect, ChoiceListEntries(AdvancedChoice::WriteProtect));
    for (const AlarmLevel level : kLevels)
        pages::FillList(LevelBox(level), LevelListEntries(level));
}

void CAdvancedPropPage::CreateControls()
{
    const DialogUnits units(font());
    setFixedSize(units.x(pages::kPageFormWidth), units.y(pages::kPageFormHeight));
    const pages::FormBuilder form(this, units);

    form.group(Utf8("Уровень аварии и насыщения"), {4, 2, 196, 100});
    form.label(Utf8("Тип аварии"), {12, 17, 122, 10});
    m_alarm = form.colorList(kAlarmId, {136, 15, 56, 13}, 1219);
    form.label(Utf8("Нижний уровень аварии, мА"), {12, 34, 122, 10});
    m_lowAlarm = form.colorList(kLowAlarmId, {136, 32, 56, 13}, 1220);
    form.label(Utf8("Верхний уровень аварии, мА"), {12, 51, 122, 10});
    m_highAlarm = form.colorList(kHighAlarmId, {136, 49, 56, 13}, 1221);
    form.label(Utf8("Нижний уровень насыщения, мА"), {12, 68, 122, 10});
    m_lowSaturation = form.colorList(kLowSaturationId, {136, 66, 56, 13}, 1222);
    form.label(Utf8("Верхний уровень насыщения, мА"), {12, 85, 122, 10});
    m_highSaturation = form.colorList(kHighSaturationId, {136, 83, 56, 13}, 1223);

    form.group(Utf8("Дополнительные установки"), {204, 2, 116, 72});
    form.label(Utf8("Фильтр 50/60 Гц"), {212, 15, 100, 10});
    m_lineFilter = form.colorList(kLineFilterId, {212, 26, 100, 13}, 1224);
    form.label(Utf8("Защита от записи"), {212, 44, 100, 10});
    m_writeProtect = form.colorList(kWriteProtectId, {212, 55, 100, 13}, 1225);

    m_send = form.button(kSendId, Utf8("Отправить в устройство"), {218, 116, 102, 16});

    for (const AlarmLevel level : kLevels) {
        CColorComboBox* box = LevelBox(level);
        box->setEditable(true);
        // A typed level is stored as typed: it never becomes an entry of the list, and no
        // completion writes an entry's text over it.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        connect(box, &QComboBox::activated, this,
                [this, level](int index) { OnLevelChosen(level, index); });
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [this, level] { OnLevelEdited(level); });
    }
    // Only the user's own choices and edits count: the refresh sets the same controls
    // without storing anything back.
    connect(m_alarm, &QComboBox::activated, this, &CAdvancedPropPage::OnAlarmChosen);
    connect(m_lineFilter, &QComboBox::activated, this, &CAdvancedPropPage::OnLineFilterChosen);
    connect(m_writeProtect, &QComboBox::activated, this, &CAdvancedPropPage::OnWriteProtectChosen);
    connect(m_send, &QPushButton::clicked, this, &CAdvancedPropPage::OnSend);
    new CToolTipCtrl(this);
}

CColorComboBox* CAdvancedPropPage::LevelBox(AlarmLevel level) const
{
    switch (level) {
    case AlarmLevel::LowAlarm: return m_lowAlarm;
    case AlarmLevel::HighAlarm: return m_highAlarm;
    case AlarmLevel::LowSaturation: return m_lowSaturation;
    case AlarmLevel::HighSaturation: return m_highSaturation;
    }
    return m_lowAlarm;
}

bool CAdvancedPropPage::RefreshFromDocument()
{
    if (m_pDoc == nullptr) return false;
    const PageValues values = PageValuesOf(*m_pDoc);
    const AdvancedPageView view = AdvancedPageViewOf(values);
    const FailedFlags& failed = values.failed;

    m_alarm->setCurrentIndex(view.alarmIndex);
    pages::ShowFailed(m_alarm, failed.test(ValueFlag::AlarmSelect));
    const struct {
        AlarmLevel level;
        const QString& text;
        ValueFlag flag;
    } levels[] = {
        {AlarmLevel::LowAlarm, view.lowAlarmText, ValueFlag::LowAlmVal},
        {AlarmLevel::HighAlarm, view.highAlarmText, ValueFlag::HighAlmVal},
        {AlarmLevel::LowSaturation, view.lowSaturationText, ValueFlag::LowSatVal},
        {AlarmLevel::HighSaturation, view.highSaturationText, ValueFlag::HighSatVal},
    };
    for (const auto& shown : levels) {
        CColorComboBox* box = LevelBox(shown.level);
        // The stored value goes into the text field; no entry of the list is chosen.
        box->setCurrentIndex(kNoSelection);
        box->setEditText(shown.text);
        pages::ShowFailed(box, failed.test(shown.flag));
    }
    m_lineFilter->setCurrentIndex(view.lineFilterIndex);
    pages::ShowFailed(m_lineFilter, failed.test(ValueFlag::LineFilter));
    m_writeProtect->setCurrentIndex(view.writeProtectIndex);
    pages::ShowFailed(m_writeProtect, failed.test(ValueFlag::WriteProtect));
    return view.flagged;
}

void CAdvancedPropPage::EnableDeviceControls(bool enable) { m_send->setEnabled(enable); }

bool CAdvancedPropPage::ValidateForSend()
{
    if (m_pDoc == nullptr) return false;
    return ValidateAdvancedSend(AlarmLevelsOf(PageValuesOf(*m_pDoc)), m_pDoc->ui());
}

std::vector<ReportLine> CAdvancedPropPage::PrintSection() const
{
    if (m_pDoc == nullptr) return {};
    return pages::SectionAsShown(PageValuesOf(*m_pDoc), kFirstReportLine,
                                 {
                                     {m_alarm->currentText(), {}},
                                     {m_lowAlarm->currentText(), {}},
                                     {m_highAlarm->currentText(), {}},
                                     {m_lowSaturation->currentText(), {}},
                                     {m_highSaturation->currentText(), {}},
                                     {m_lineFilter->currentText(), {}},
                                     {m_writeProtect->currentText(), {}},
                                 });
}

void CAdvancedPropPage::OnAlarmChosen(int index)
{
    if (m_pDoc == nullptr) return;
    NoticeAlarmChoice(index, m_pDoc->ui());
    m_pDoc->setAlarmSelect(ChoiceCodeFromIndex(index));
}

void CAdvancedPropPage::OnLineFilterChosen(int index)
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setLineFilter(ChoiceCodeFromIndex(index));
}

void CAdvancedPropPage::OnWriteProtectChosen(int index)
{
    if (m_pDoc == nullptr) return;
    m_pDoc->setWriteProtect(ChoiceCodeFromIndex(index));
}

void CAdvancedPropPage::OnLevelChosen(AlarmLevel level, int index)
{
    StoreLevel(level, LevelBox(level)->itemText(index));
}

void CAdvancedPropPage::OnLevelEdited(AlarmLevel level)
{
    // Levels are currents in the loop, never negative.
    StoreLevel(level, pages::FilterFieldText(LevelBox(level)->lineEdit(), false));
}

void CAdvancedPropPage::StoreLevel(AlarmLevel level, const QString& text)
{
    if (m_pDoc == nullptr) return;
    const float value = ParseValueText(text);
    switch (level) {
    case AlarmLevel::LowAlarm: m_pDoc->setLowAlmVal(value); break;
    case AlarmLevel::HighAlarm: m_pDoc->setHighAlmVal(value); break;
    case AlarmLevel::LowSaturation: m_pDoc->setLowSatVal(value); break;
    case AlarmLevel::HighSaturation: m_pDoc->setHighSatVal(value); break;
    }
}

void CAdvancedPropPage::OnSend()
{
    if (ValidateForSend())
        m_pDoc->commands().Run([this] { m_pDoc->OnSendAdvanced(); }, document::Cancel::NotAllowed);
}
