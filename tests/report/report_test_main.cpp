// main() of the report tests: fonts and the PDF writer need Qt's GUI side, here on the
// offscreen platform so the tests run without a display.
#include <cstdlib>

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
