#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

// The dialog-unit geometry of the program's forms, in pixels of the font the form uses:
// a horizontal unit is a quarter of the font's average letter width, a vertical unit an
// eighth of its height, as in classic dialog templates.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    // Places a child at its template position.
    void place(QWidget* widget, int x, int y, int width, int height) const;

private:
    double m_baseX;
    double m_baseY;
};

// The numbers every dialog gives its accepting and its cancelling button.
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

// The number the forms give a control, kept as the widget's "controlId" property so tests
// and tools find controls by it.
void SetControlId(QWidget* widget, int id);
int ControlId(const QWidget* widget);
QWidget* FindControl(QWidget* root, int id);

// Numbers are unique within one form only: look for the numbered control of that kind.
template <typename T>
T* FindControlAs(QWidget* root, int id)
{
    if (root == nullptr) return nullptr;
    if (auto* self = qobject_cast<T*>(root); self && ControlId(root) == id) return self;
    for (T* child : root->template findChildren<T*>())
        if (ControlId(child) == id) return child;
    return nullptr;
}
