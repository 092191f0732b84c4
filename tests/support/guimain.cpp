// Test main of the programs that draw off screen and need no windows: a QGuiApplication on
// the offscreen platform (fonts and pictures), OpenGL through EGL.
#include "testenv.h"

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    loomscope::testsupport::isolateEnvironment();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
