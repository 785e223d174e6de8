#include "controls/color_edit.h"

#include <algorithm>

CMyColorEdit::CMyColorEdit(QWidget* parent) : QLineEdit(parent)
{
    // Qt's own limit also cuts texts set by the program, so it follows the text's length.
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { FitLimitTo(text.size()); });
}

void CMyColorEdit::SetTypingLimit(int maxChars)
{
    m_typingLimit = maxChars;
    FitLimitTo(text().size());
}

void CMyColorEdit::ShowText(const QString& text)
{
    FitLimitTo(text.size());
    setText(text);
}

void CMyColorEdit::FitLimitTo(qsizetype length)
{
    if (m_typingLimit > 0) setMaxLength(std::max(m_typingLimit, static_cast<int>(length)));
}

void CMyColorEdit::SetBackgroundColor(QColor color)
{
    m_background = color;
    m_hasBackground = true;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, m_background);
    palette.setColor(QPalette::Text, m_text);
    setPalette(palette);
    setStyleSheet(QStringLiteral("QLineEdit { color: %1; background-color: %2; }")
                      .arg(m_text.name(), m_background.name()));
    update();
}
