#pragma once

#include <optional>
#include <vector>

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include "document/report_lines.h"

class CColorComboBox;
class CMyColorEdit;
class DialogUnits;
class QComboBox;
class QLineEdit;

namespace pages {

// Every page's form, in dialog units: the tab control's display area holds the largest.
constexpr int kPageFormWidth = 322;
constexpr int kPageFormHeight = 134;

// A control's place on its page's form, in dialog units.
struct TemplateRect {
    int x;
    int y;
    int width;
    int height;
};

// Building the forms of the Basic and Advanced pages: every control is a direct child of
// the page, as on a dialog template, so group boxes are frames drawn behind their controls.
class FormBuilder {
public:
    FormBuilder(QWidget* page, const DialogUnits& units) : m_page(page), m_units(units) {}

    QGroupBox* group(const QString& title, TemplateRect rect) const;
    QLabel* label(const QString& text, TemplateRect rect, int id = 0) const;
    // Black on white, or black on yellow while the list's value is flagged.
    CColorComboBox* colorList(int id, TemplateRect rect, int tooltipId) const;
    CMyColorEdit* colorEdit(int id, TemplateRect rect, int tooltipId) const;
    QPushButton* button(int id, const QString& text, TemplateRect rect) const;

private:
    QWidget* m_page;
    const DialogUnits& m_units;
};

inline const QColor kFlaggedBackground{255, 255, 0};

// Refused values are painted yellow; the rest of the coloured controls white.
void ShowFailed(CColorComboBox* list, bool failed);
void ShowFailed(CMyColorEdit* edit, bool failed);

// Replaces a list's entries without choosing any for the user.
void FillList(QComboBox* list, const QStringList& entries);

// The number filter on a field the user has just edited. A text the filter changed is
// written back with the caret at its end and the focus in the field. Returns the text kept.
QString FilterFieldText(QLineEdit* field, bool allowNegative);

// What a page shows for one report line: the control's text and, where the unit is a label
// on the page, that label's text. Lines with a fixed unit ("с", "мА") keep theirs.
struct ShownValue {
    QString value;
    std::optional<QString> unitLabel;
};

// The report lines [first, first + shown.size()) of the document's values, with each value
// and unit taken from what the page's controls show.
std::vector<document::ReportLine> SectionAsShown(const document::PageValues& values,
                                                 std::size_t first,
                                                 const std::vector<ShownValue>& shown);

}  // namespace pages
