#pragma once

#include <QLineEdit>

// An edit whose background the page sets (yellow for a refused value, white otherwise).
// Until a colour is set it looks like a plain edit, read-only ones included.
class CMyColorEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CMyColorEdit(QWidget* parent = nullptr);

    void SetBackgroundColor(QColor color);
    bool hasBackgroundColor() const { return m_hasBackground; }
    QColor backgroundColor() const { return m_background; }

    // The most characters the user may type. A longer text the program shows stays whole;
    // the user may shorten it but not lengthen it.
    void SetTypingLimit(int maxChars);
    // Shows a text the program sets, whole, whatever the typing limit.
    void ShowText(const QString& text);

private:
    void FitLimitTo(qsizetype length);

    int m_typingLimit = 0;  // none
    QColor m_text = Qt::black;
    QColor m_background = Qt::black;
    bool m_hasBackground = false;
};
