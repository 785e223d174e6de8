#pragma once

#include <QComboBox>

#include "controls/color_control.h"

// A combo box painted in its highlight colours (black on yellow on the pages) while the
// transmitter refuses its value; its drop-down list follows.
class CColorComboBox : public QComboBox, public CColorControl {
    Q_OBJECT

public:
    explicit CColorComboBox(QWidget* parent = nullptr);

    // Repaints only when the state changes.
    void Highlight();
    // Repaints every time.
    void Unhighlight();

    int repaintCount() const { return m_repaints; }

private:
    void ApplyColors();
    int m_repaints = 0;
};
