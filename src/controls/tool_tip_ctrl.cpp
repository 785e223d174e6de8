#include "controls/tool_tip_ctrl.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

CToolTipCtrl::CToolTipCtrl(QWidget* window) : QObject(window)
{
    window->installEventFilter(this);
    for (QWidget* control : window->findChildren<QWidget*>()) control->installEventFilter(this);
}

QString CToolTipCtrl::WrappedText(const QString& text)
{
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(text) <= kMaxTipWidth) return text;
    return QStringLiteral("<table width=\"%1\" cellspacing=\"0\" "
                          "cellpadding=\"0\"><tr><td>%2</td></tr></table>")
        .arg(kMaxTipWidth)
        .arg(text.toHtmlEscaped());
}

bool CToolTipCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* control = static_cast<QWidget*>(watched);
    if (control->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), WrappedText(control->toolTip()), control, {},
                       control->toolTipDuration());
    return true;
}
