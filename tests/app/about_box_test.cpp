// The about box: its texts and ids, the program's version, the link to the maker, the
// picture, and nothing clipped.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/hyper_link.h"
#include "controls/dialog_units.h"
#include "support/scripted_user.h"

namespace {

class AboutBoxTest : public testing::Test {
protected:
    QLabel* label(int id) { return FindControlAs<QLabel>(&dialog, id); }

    ScriptedUser user;
    CAboutDialog dialog{user};
};

TEST_F(AboutBoxTest, ShowsTitleVersionMakerAndPicture)
{
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("О программе..."));
    ASSERT_NE(label(189), nullptr);
    EXPECT_EQ(label(189)->text(), QString::fromUtf8("Программа конфигурации Тарвел-4410"));
    ASSERT_NE(label(188), nullptr);
    EXPECT_EQ(label(188)->text(), QString::fromUtf8("Версия: ") + QStringLiteral(PROJECT_VERSION));
    EXPECT_EQ(CAboutDialog::VersionLine(), label(188)->text());
    ASSERT_NE(label(190), nullptr);
    EXPECT_FALSE(label(190)->text().isEmpty());

    ASSERT_NE(label(1242), nullptr);
    const QPixmap picture = label(1242)->pixmap();
    EXPECT_EQ(picture.size(), QSize(150, 150));
    EXPECT_EQ(label(1242)->size(), QSize(150, 150));
}

TEST_F(AboutBoxTest, LinkShowsTheMakersAddress)
{
    auto* link = FindControlAs<CHyperLink>(&dialog, 186);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->url().startsWith(QStringLiteral("https://")));
    EXPECT_EQ(link->text(), link->url());
    EXPECT_EQ(link->toolTip(), link->url());
    EXPECT_FALSE(link->visited());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), CHyperLink::kLinkColor);

    QUrl opened;
    link->SetOpener([&opened](const QUrl& url) -> std::optional<int> {
        opened = url;
        return std::nullopt;
    });
    dialog.show();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, QUrl(link->url()));
    EXPECT_TRUE(link->visited());
}

TEST_F(AboutBoxTest, ContinueClosesTheBox)
{
    auto* ok = FindControlAs<QPushButton>(&dialog, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QString::fromUtf8("Продолжить"));
    EXPECT_TRUE(ok->isDefault());
    dialog.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AboutBoxTest, TemplateSizeAndNoTextClippedOrOverlapping)
{
    const DialogUnits du(dialog.font());
    EXPECT_GE(dialog.width(), du.x(239));
    EXPECT_GE(dialog.height(), du.y(140));

    const QRect picture = label(1242)->geometry();
    for (const int id : {189, 188, 190, 186}) {
        SCOPED_TRACE(id);
        QLabel* text = label(id);
        ASSERT_NE(text, nullptr);
        const int neededHeight =
            text->wordWrap() ? text->heightForWidth(text->width()) : text->sizeHint().height();
        EXPECT_GE(text->height(), neededHeight);
        if (!text->wordWrap()) {
            EXPECT_GE(text->width(), text->sizeHint().width());
        }
        EXPECT_FALSE(text->geometry().intersects(picture));
        EXPECT_TRUE(dialog.rect().contains(text->geometry()));
    }
    auto* ok = FindControlAs<QPushButton>(&dialog, 1);
    EXPECT_GE(ok->width(), ok->sizeHint().width());
    EXPECT_TRUE(dialog.rect().contains(ok->geometry()));
    EXPECT_FALSE(ok->geometry().intersects(picture));
}

}  // namespace
