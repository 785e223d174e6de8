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

private:
    QColor m_text = Qt::black;
    QColor m_background = Qt::black;
    bool m_hasBackground = false;
};
