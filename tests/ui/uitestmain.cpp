// The main of the window tests: one Qt application on the offscreen
// platform, so the tests run without a display.
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
