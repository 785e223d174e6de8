#include "controls/color_combo_box.h"

#include <QAbstractItemView>

CColorComboBox::CColorComboBox(QWidget* parent) : QComboBox(parent) {}

void CColorComboBox::Highlight()
{
    if (m_highlighted) return;
    m_highlighted = true;
    ApplyColors();
}

void CColorComboBox::Unhighlight()
{
    m_highlighted = false;
    ApplyColors();
}

void CColorComboBox::ApplyColors()
{
    QPalette palette = this->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(role, backgroundColor());
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, textColor());
    setPalette(palette);
    view()->setPalette(palette);
    // The style sheet makes the colour visible also in styles that ignore the palette.
    setStyleSheet(
        m_highlighted
            ? QStringLiteral("QComboBox { color: %1; background-color: %2; }"
                             "QComboBox QAbstractItemView { color: %1; background-color: %2; }")
                  .arg(textColor().name(), backgroundColor().name())
            : QString());
    ++m_repaints;
    update();
}
