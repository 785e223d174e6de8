#include "controls/dialog_units.h"

#include <cmath>

#include <QFontMetricsF>
#include <QVariant>
#include <QWidget>

namespace {
const char* kControlIdProperty = "controlId";
}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = metrics.horizontalAdvance(letters) / letters.size();
    m_baseY = metrics.height();
}

int DialogUnits::x(int units) const { return static_cast<int>(std::lround(units * m_baseX / 4.0)); }
int DialogUnits::y(int units) const { return static_cast<int>(std::lround(units * m_baseY / 8.0)); }

QRect DialogUnits::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}

void DialogUnits::place(QWidget* widget, int left, int top, int width, int height) const
{
    widget->setGeometry(rect(left, top, width, height));
}

void SetControlId(QWidget* widget, int id) { widget->setProperty(kControlIdProperty, id); }

int ControlId(const QWidget* widget)
{
    const QVariant id = widget->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

QWidget* FindControl(QWidget* root, int id)
{
    if (root == nullptr) return nullptr;
    if (ControlId(root) == id) return root;
    for (QWidget* child : root->findChildren<QWidget*>())
        if (ControlId(child) == id) return child;
    return nullptr;
}
