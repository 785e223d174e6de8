#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The tooltips of a page or form: every control below the window shows its own tooltip
// text, wrapped at a width of 100 pixels instead of running on one line as far as it goes.
class CToolTipCtrl : public QObject {
public:
    static constexpr int kMaxTipWidth = 100;

    // Takes over the tooltips of the window's controls that exist now.
    explicit CToolTipCtrl(QWidget* window);

    // The text as the tip shows it: unchanged when it fits the width on one line, else rich
    // text of that width, so the tip breaks it at word boundaries.
    static QString WrappedText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
