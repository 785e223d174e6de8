#include "pages/page_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "controls/color_combo_box.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "document/value_format.h"

namespace pages {

namespace {

void Place(const DialogUnits& units, QWidget* widget, TemplateRect r)
{
    units.place(widget, r.x, r.y, r.width, r.height);
}

}  // namespace

QGroupBox* FormBuilder::group(const QString& title, TemplateRect rect) const
{
    auto* box = new QGroupBox(title, m_page);
    Place(m_units, box, rect);
    return box;
}

QLabel* FormBuilder::label(const QString& text, TemplateRect rect, int id) const
{
    auto* label = new QLabel(text, m_page);
    Place(m_units, label, rect);
    if (id != 0) SetControlId(label, id);
    return label;
}

CColorComboBox* FormBuilder::colorList(int id, TemplateRect rect, int tooltipId) const
{
    auto* list = new CColorComboBox(m_page);
    list->SetColors(Qt::black, Qt::white, Qt::black, kFlaggedBackground);
    Place(m_units, list, rect);
    SetControlId(list, id);
    list->setToolTip(document::LoadedText(tooltipId));
    return list;
}

CMyColorEdit* FormBuilder::colorEdit(int id, TemplateRect rect, int tooltipId) const
{
    auto* edit = new CMyColorEdit(m_page);
    Place(m_units, edit, rect);
    SetControlId(edit, id);
    edit->setToolTip(document::LoadedText(tooltipId));
    return edit;
}

QPushButton* FormBuilder::button(int id, const QString& text, TemplateRect rect) const
{
    auto* button = new QPushButton(text, m_page);
    Place(m_units, button, rect);
    SetControlId(button, id);
    return button;
}

void ShowFailed(CColorComboBox* list, bool failed)
{
    if (failed)
        list->Highlight();
    else
        list->Unhighlight();
}

void ShowFailed(CMyColorEdit* edit, bool failed)
{
    edit->SetBackgroundColor(failed ? kFlaggedBackground : Qt::white);
}

void FillList(QComboBox* list, const QStringList& entries)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(entries);
}

QString FilterFieldText(QLineEdit* field, bool allowNegative)
{
    const QString kept = document::FilterNumericText(field->text(), allowNegative);
    if (kept != field->text()) {
        field->setText(kept);
        field->setFocus();
        field->setCursorPosition(static_cast<int>(kept.size()));
    }
    return kept;
}

std::vector<document::ReportLine> SectionAsShown(const document::PageValues& values,
                                                 std::size_t first,
                                                 const std::vector<ShownValue>& shown)
{
    const std::vector<document::ReportLine> all = document::ReportLines(values);
    std::vector<document::ReportLine> section;
    for (std::size_t i = 0; i < shown.size() && first + i < all.size(); ++i) {
        document::ReportLine line = all[first + i];
        line.value = shown[i].value;
        if (shown[i].unitLabel) line.unit = *shown[i].unitLabel;
        section.push_back(std::move(line));
    }
    return section;
}

}  // namespace pages
