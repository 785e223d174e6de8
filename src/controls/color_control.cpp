#include "controls/color_control.h"

void CColorControl::SetColors(QColor normalText, QColor normalBackground, QColor highlightText,
                              QColor highlightBackground)
{
    m_normalText = normalText;
    m_normalBackground = normalBackground;
    m_highlightText = highlightText;
    m_highlightBackground = highlightBackground;
}
