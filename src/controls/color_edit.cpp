#include "color_edit.h"

CMyColorEdit::CMyColorEdit(QWidget* parent) : QLineEdit(parent) {}

void CMyColorEdit::SetBackgroundColor(QColor color)
{
    m_background = color;
    m_hasBackground = true;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, m_background);
    palette.setColor(QPalette::Text, m_text);
    setPalette(palette);
    setStyleSheet(QStringLiteral("QLineEdit { color: %1; background-color: %2; }").arg(m_text.name(), m_background.name()));
    update();
}
