#pragma once

#include <QColor>

// A normal and a highlight colour pair; the owner switches between them.
class CColorControl {
public:
    void SetColors(QColor normalText, QColor normalBackground, QColor highlightText,
                   QColor highlightBackground);

    bool isHighlighted() const { return m_highlighted; }
    QColor textColor() const { return m_highlighted ? m_highlightText : m_normalText; }
    QColor backgroundColor() const
    {
        return m_highlighted ? m_highlightBackground : m_normalBackground;
    }

protected:
    bool m_highlighted = false;

private:
    QColor m_normalText = Qt::black;
    QColor m_normalBackground = Qt::white;
    QColor m_highlightText = Qt::black;
    QColor m_highlightBackground = Qt::white;
};
