// The main of the application tests: the program's own application object
// on the offscreen platform.
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/brevantoapplication.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    brevanto::BrevantoApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
