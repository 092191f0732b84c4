#include "model/numberformat.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

using namespace loomscope;

TEST(NumberFormat, ShortestGeneralFormWithFifteenDigits)
{
    EXPECT_EQ(formatGeneral(85.3), "85.3");
    EXPECT_EQ(formatGeneral(100), "100");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatGeneral(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatGeneral(-0.0), "0");
    EXPECT_EQ(formatGeneral(4.858, ','), "4,858");
    EXPECT_EQ(formatGeneral(double(1.44f * 1)), "1.44000005722046");
    EXPECT_EQ(formatGeneral(roundTo3Even(1.2f * 1.2f)), "1.44");
}

TEST(NumberFormat, ThreeDecimalsTiesToEven)
{
    EXPECT_DOUBLE_EQ(roundTo3Even(1.0625), 1.062); // 1062.5 exactly
    EXPECT_DOUBLE_EQ(roundTo3Even(1.1875), 1.188); // 1187.5 exactly
    EXPECT_DOUBLE_EQ(roundTo3Even(1.0 / 3), 0.333);
    EXPECT_DOUBLE_EQ(mmToInches(85.3), 3.358);
    EXPECT_DOUBLE_EQ(mmToInches(100), 3.937);
    EXPECT_DOUBLE_EQ(mmToInches(123.4), 4.858);
    EXPECT_DOUBLE_EQ(mmToInches(56.7), 2.232);
    EXPECT_DOUBLE_EQ(mmToInches(57.5), 2.264);
    EXPECT_DOUBLE_EQ(mmToInches(40), 1.575);
}

TEST(NumberFormat, OneDecimalHalvesAwayFromZero)
{
    EXPECT_DOUBLE_EQ(roundTo1AwayFromZero(85.25), 85.3);
    EXPECT_DOUBLE_EQ(roundTo1AwayFromZero(2.25), 2.3);
    EXPECT_DOUBLE_EQ(roundTo1AwayFromZero(-2.25), -2.3);
    EXPECT_DOUBLE_EQ(roundTo1AwayFromZero(85.3), 85.3);
    EXPECT_EQ(formatOneDecimal(35 / 3.5278), "9.9");
    EXPECT_EQ(formatOneDecimal(35 * 0.5 / 3.5278), "5.0");
    EXPECT_EQ(formatOneDecimal(0.25, ','), "0,2");
}

TEST(NumberFormat, FloatsReadBackExactly)
{
    EXPECT_EQ(formatFloat(0.1f), "0.1");
    EXPECT_EQ(formatFloat(-233.60661f), "-233.60661");
    EXPECT_EQ(formatFloat(0.0f), "0");
    EXPECT_EQ(formatFloat(-0.0f), "0");
}

TEST(NumberFormat, TheCLibrarysLocaleDoesNotChooseTheSeparator)
{
    // The windowed program sets the C library's locale from the environment; numbers must
    // still take the separator they are given, whatever that locale would write.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (tools/setup-debian.sh makes it)";
    EXPECT_EQ(formatGeneral(85.3), "85.3");
    EXPECT_EQ(formatGeneral(85.3, ','), "85,3");
    EXPECT_EQ(formatOneDecimal(9.92), "9.9");
    std::setlocale(LC_ALL, before.c_str());
}
