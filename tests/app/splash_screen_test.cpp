// The splash screen: a captionless popup of the template's size that closes itself.
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/splash_screen.h"
#include "controls/dialog_units.h"

namespace {

TEST(SplashScreenTest, ClosesItselfWithOk)
{
    CSplashDlg splash;
    bool shown = false;
    bool forced = false;
    // Only there to end a broken splash instead of hanging the test.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &splash, [&] {
        forced = true;
        splash.reject();
    });
    guard.start(5000);
    QTimer::singleShot(0, &splash, [&] { shown = splash.isVisible(); });

    EXPECT_EQ(splash.exec(), QDialog::Accepted);
    EXPECT_FALSE(forced);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(splash.isVisible());
}

TEST(SplashScreenTest, CaptionlessPopupOfTheTemplateSizeWithACentredPicture)
{
    CSplashDlg splash;
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowTitle().isEmpty());
    const DialogUnits du(splash.font());
    EXPECT_EQ(splash.size(), QSize(du.x(164), du.y(150)));

    splash.show();  // lays the picture out; the splash closes at the next event-loop turn
    const auto pictures = splash.findChildren<QLabel*>();
    ASSERT_EQ(pictures.size(), 1);
    const QLabel* picture = pictures.front();
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->alignment(), Qt::AlignCenter);
    EXPECT_EQ(picture->geometry(), splash.rect());
}

}  // namespace
