// Test main of the programs that need no Qt.
#include "testenv.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    loomscope::testsupport::isolateEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
