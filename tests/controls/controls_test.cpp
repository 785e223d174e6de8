#include <QAbstractItemView>
#include <QImage>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/color_combo_box.h"
#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "controls/transparent_image.h"

namespace {

const QColor kYellow(255, 255, 0);

CColorComboBox* PageCombo(QWidget& page)
{
    auto* combo = new CColorComboBox(&page);
    combo->SetColors(Qt::black, Qt::white, Qt::black, kYellow);
    combo->addItems({"A", "B"});
    return combo;
}

}  // namespace

TEST(ColorComboBox, HighlightRepaintsOnceUnhighlightEveryTime)
{
    QWidget page;
    CColorComboBox* combo = PageCombo(page);
    combo->Highlight();
    combo->Highlight();
    EXPECT_EQ(combo->repaintCount(), 1);
    EXPECT_TRUE(combo->isHighlighted());
    EXPECT_EQ(combo->palette().color(QPalette::Base), kYellow);
    // The drop-down list follows the box.
    EXPECT_EQ(combo->view()->palette().color(QPalette::Base), kYellow);
    EXPECT_EQ(combo->view()->palette().color(QPalette::Text), QColor(Qt::black));

    combo->Unhighlight();
    combo->Unhighlight();
    EXPECT_EQ(combo->repaintCount(), 3);
    EXPECT_FALSE(combo->isHighlighted());
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST(ColorEdit, PlainUntilColouredThenFollowsTheLastColour)
{
    QWidget page;
    QLineEdit plain(&page);
    CMyColorEdit edit(&page);
    edit.setReadOnly(true);
    plain.setReadOnly(true);
    EXPECT_FALSE(edit.hasBackgroundColor());
    EXPECT_EQ(edit.palette().color(QPalette::Base), plain.palette().color(QPalette::Base));
    EXPECT_TRUE(edit.styleSheet().isEmpty());

    edit.SetBackgroundColor(kYellow);
    EXPECT_EQ(edit.palette().color(QPalette::Base), kYellow);
    edit.SetBackgroundColor(Qt::white);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(edit.backgroundColor(), QColor(Qt::white));
    EXPECT_FALSE(edit.styleSheet().contains(kYellow.name()));
}

TEST(TransparentImage, TopLeftColourBecomesTransparent)
{
    QImage lamp(20, 20, QImage::Format_RGB32);
    lamp.fill(QColor(255, 0, 255));
    lamp.setPixel(10, 10, qRgb(200, 0, 0));
    const QImage out = CTransparentImage::WithTransparentCorner(lamp);
    EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(out.pixel(19, 19)), 0);
    EXPECT_EQ(out.pixel(10, 10), qRgb(200, 0, 0));
    EXPECT_TRUE(CTransparentImage::WithTransparentCorner(QImage()).isNull());
}

TEST(DialogUnitsAndIds, GeometryScalesWithTheFontAndIdsAreFound)
{
    QFont small;
    small.setPointSize(8);
    QFont large;
    large.setPointSize(16);
    const DialogUnits a(small), b(large);
    EXPECT_GT(b.x(100), a.x(100));
    EXPECT_GT(b.y(100), a.y(100));
    EXPECT_EQ(a.rect(4, 8, 40, 16).width(), a.x(40));

    QWidget root;
    auto* child = new QLineEdit(&root);
    SetControlId(child, 1244);
    EXPECT_EQ(FindControlAs<QLineEdit>(&root, 1244), child);
    EXPECT_EQ(FindControl(&root, 999), nullptr);
    EXPECT_EQ(ControlId(&root), 0);
}
