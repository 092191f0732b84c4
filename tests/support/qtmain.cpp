// Test main of the programs that need Qt. GL tests need a real X server (xcb, under xvfb-run);
// without a display the tests run on Qt's offscreen platform and GL tests skip.
#include "drawing/glformat.h"
#include "testenv.h"

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    loomscope::testsupport::isolateEnvironment();
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", std::getenv("DISPLAY") ? "xcb" : "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as the build does to find them) needs no application.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    loomscope::setDefaultGlFormat();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
