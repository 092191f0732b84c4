// Value forms of config.ini and the main window's reading of it.
#include "app/configvalues.h"
#include "app/inifile.h"
#include "app/mainconfig.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

using namespace loomscope;

TEST(ConfigValues, ColoursAreHexadecimalRedLow)
{
    EXPECT_EQ(parseColourValue("EEEEEE").value, 0xEEEEEEu);
    EXPECT_EQ(parseColourValue("0000FF").value, rgb(255, 0, 0));
    EXPECT_EQ(parseColourValue("ff").value, 0xFFu);
    EXPECT_EQ(parseColourValue("12FFFFFF").value, 0xFFFFFFu);
    EXPECT_EQ(formatColourValue(rgb(238, 238, 238)), "EEEEEE");
    EXPECT_EQ(formatColourValue(rgb(255, 0, 0)), "0000FF");
    EXPECT_EQ(formatColourValue(0xB4B4B4), "B4B4B4");
    EXPECT_EQ(formatColourValue(0), "000000");
    const auto bad = parseColourValue("EEEEEG");
    EXPECT_FALSE(bad.value);
    EXPECT_EQ(bad.error, "'$EEEEEG' is not a valid integer value");
    EXPECT_FALSE(parseColourValue("123456789").value);
}

TEST(ConfigValues, BooleansAreNumbersOrWords)
{
    EXPECT_EQ(parseBoolValue("-1").value, true);
    EXPECT_EQ(parseBoolValue("1").value, true);
    EXPECT_EQ(parseBoolValue("0").value, false);
    EXPECT_EQ(parseBoolValue("True").value, true);
    EXPECT_EQ(parseBoolValue("FALSE").value, false);
    EXPECT_EQ(parseBoolValue("1.0").value, true);
    EXPECT_EQ(parseBoolValue("0.5").value, true);
    EXPECT_EQ(parseBoolValue("0.0").value, false);
    EXPECT_EQ(parseBoolValue("yes").error, "'yes' is not a valid boolean value");
    EXPECT_FALSE(parseBoolValue("1..0").value);
    EXPECT_EQ(formatBoolValue(true), "-1");
    EXPECT_EQ(formatBoolValue(false), "0");
}

TEST(ConfigValues, SizesUseTheDecimalSeparator)
{
    EXPECT_EQ(parseSizeValue("1.5").value, 1.5);
    EXPECT_EQ(parseSizeValue("1,5", ',').value, 1.5);
    EXPECT_EQ(parseSizeValue(" 5 ").value, 5.0);
    EXPECT_EQ(parseSizeValue("5mm").error, "'5mm' is not a valid floating point value");
    EXPECT_FALSE(parseSizeValue("").value);
    EXPECT_FALSE(parseSizeValue("1e999").value);
}

TEST(ConfigValues, SizesReadTheSameUnderACommaLocale)
{
    // A program sets the C library's locale from the environment (Qt does at start): under a
    // German, French or Russian locale strtod would want a comma and refuse "1.5".
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        const std::string before = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, name))
            continue;
        EXPECT_EQ(parseSizeValue("1,5", ',').value, 1.5) << name;
        EXPECT_EQ(parseSizeValue("1.5", ',').value, 1.5) << name;
        EXPECT_EQ(parseSizeValue("5", ',').value, 5.0) << name;
        EXPECT_EQ(parseBoolValue("0.5").value, true) << name;
        const IniFile ini = IniFile::fromText("[sequin]\nsize1=4,5\nsize2=1.5\n");
        const MainConfig config = readMainConfig(ini, ',');
        EXPECT_EQ(config.size1, 4.5) << name;
        EXPECT_EQ(config.size2, 1.5) << name;
        EXPECT_EQ(config.error, "") << name;
        std::setlocale(LC_ALL, before.c_str());
        return;
    }
    GTEST_SKIP() << "no comma locale is installed (tools/setup-debian.sh makes de_DE.UTF-8)";
}

TEST(MainConfig, ReadsInOrderAndStopsAtABadValue)
{
    const IniFile ini = IniFile::fromText("[general]\neditor=/opt/editor\nbackcolor=000000\n"
                                          "[sequin]\nsequincolor=red\nsize1=4\nsize2=1\n");
    const MainConfig config = readMainConfig(ini);
    EXPECT_EQ(config.editor, "/opt/editor");
    EXPECT_EQ(config.backcolor, 0u);
    EXPECT_FALSE(config.sequincolor);
    EXPECT_FALSE(config.size1); // after the bad key: not read
    EXPECT_EQ(config.error, "'$red' is not a valid integer value");
}

TEST(MainConfig, SkipsEmptyValues)
{
    const IniFile ini =
        IniFile::fromText("[general]\neditor=\nbackcolor=\n[sequin]\nsize1=4,5\nsize2=2\n");
    const MainConfig config = readMainConfig(ini, ',');
    EXPECT_FALSE(config.editor);
    EXPECT_FALSE(config.backcolor);
    EXPECT_EQ(config.size1, 4.5);
    EXPECT_EQ(config.size2, 2.0);
    EXPECT_EQ(config.error, "");
}
