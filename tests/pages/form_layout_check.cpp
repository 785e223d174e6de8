#include "pages/form_layout_check.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>

#include "controls/dialog_units.h"

namespace {

QString Describe(const QWidget* widget, const QString& text)
{
    return QStringLiteral("%1 #%2 \"%3\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()))
        .arg(ControlId(widget))
        .arg(text);
}

int TextWidth(const QWidget* widget, const QString& text)
{
    return widget->fontMetrics().horizontalAdvance(text);
}

void CheckLabel(const QLabel* label, QStringList& clipped)
{
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    const bool tooTall =
        lines.size() * label->fontMetrics().lineSpacing() > label->contentsRect().height();
    for (const QString& line : lines)
        if (tooTall || TextWidth(label, line) > label->contentsRect().width())
            clipped << Describe(label, line);
}

void CheckComboBox(const QComboBox* box, QStringList& clipped)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    for (int i = 0; i < box->count(); ++i)
        if (TextWidth(box, box->itemText(i)) > field.width())
            clipped << Describe(box, box->itemText(i));
}

void CheckEdit(const QLineEdit* edit, const QString& widestNumber, QStringList& clipped)
{
    // The edit's frame and the fixed margin a line edit keeps on each side of its text.
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    constexpr int kLineEditMargin = 2;
    const int room = edit->width() - 2 * (frame + kLineEditMargin);
    const QString sample = edit->maxLength() < widestNumber.size()
                               ? widestNumber.left(edit->maxLength())
                               : widestNumber;
    if (TextWidth(edit, sample) > room) clipped << Describe(edit, sample);
}

bool IsFrame(const QWidget* widget) { return qobject_cast<const QGroupBox*>(widget) != nullptr; }

}  // namespace

QStringList ClippedTexts(QWidget* form, const QString& widestNumber)
{
    QStringList clipped;
    for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* label = qobject_cast<QLabel*>(child)) CheckLabel(label, clipped);
        if (auto* box = qobject_cast<QComboBox*>(child)) CheckComboBox(box, clipped);
        if (auto* edit = qobject_cast<QLineEdit*>(child)) CheckEdit(edit, widestNumber, clipped);
        if (auto* button = qobject_cast<QPushButton*>(child))
            if (button->sizeHint().width() > button->width())
                clipped << Describe(button, button->text());
        if (auto* group = qobject_cast<QGroupBox*>(child)) {
            // The title sits between the frame's rounded corners.
            const int corners = 2 * group->fontMetrics().averageCharWidth();
            if (TextWidth(group, group->title()) + corners > group->width())
                clipped << Describe(group, group->title());
        }
    }
    return clipped;
}

QStringList OverlappingControls(QWidget* form)
{
    QStringList overlapping;
    const QList<QWidget*> children = form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : children) {
        if (IsFrame(control)) continue;
        const QRect r = control->geometry();
        if (!form->rect().contains(r))
            overlapping << Describe(control, QStringLiteral("outside the form"));
        for (const QWidget* other : children) {
            if (other == control) continue;
            const QRect o = other->geometry();
            if (!IsFrame(other)) {
                if (other > control && r.intersects(o))
                    overlapping << Describe(control,
                                            QStringLiteral("overlaps #%1").arg(ControlId(other)));
                continue;
            }
            if (!r.intersects(o)) continue;
            // Inside a group box: below its title and within its frame.
            const QRect inner = o.adjusted(1, other->fontMetrics().height(), -1, -1);
            if (!inner.contains(r))
                overlapping << Describe(control,
                                        QStringLiteral("crosses \"%1\"")
                                            .arg(qobject_cast<const QGroupBox*>(other)->title()));
        }
    }
    return overlapping;
}

bool FitsTheTabControl(QWidget* form)
{
    // The main view's tab control: 330 × 155 dialog units of the same font.
    const DialogUnits units(form->font());
    QTabWidget tabs;
    tabs.resize(units.x(330), units.y(155));
    tabs.addTab(new QWidget, QStringLiteral("x"));
    tabs.show();
    const QSize area = tabs.widget(0)->size();
    return form->width() <= area.width() && form->height() <= area.height();
}
