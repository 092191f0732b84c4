// Value forms of config.ini and the main window's reading of it.
#include "app/windowplacement.h"
#include "config/configstore.h"
#include "config/configvalues.h"
#include "config/inifile.h"
#include "config/mainconfig.h"
#include "session/recentdesigns.h"
#include "testenv.h"

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

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

TEST(RecentDesigns, NewestFirstWithoutRepeatsTenAtMostAndOnlyWhatIsThere)
{
    std::vector<std::string> list;
    for (int i = 0; i < 12; ++i)
        list = withRecentDesign(list, "/d/" + std::to_string(i) + ".dst");
    ASSERT_EQ(list.size(), kMaxRecentDesigns);
    EXPECT_EQ(list.front(), "/d/11.dst");
    EXPECT_EQ(list.back(), "/d/2.dst");
    list = withRecentDesign(list, "/d/5.dst"); // opened again: to the front, once
    EXPECT_EQ(list.front(), "/d/5.dst");
    EXPECT_EQ(std::count(list.begin(), list.end(), "/d/5.dst"), 1);

    // Stored and read back, a name in code page 936 included.
    const std::string gbk = "/d/\xC3\xB5\xB9\xE5.DST";
    list = withRecentDesign(list, gbk);
    IniFile ini = IniFile::fromText("[general]\nbackcolor=EEEEEE\n");
    writeRecentDesigns(ini, list);
    EXPECT_EQ(readRecentDesigns(IniFile::fromText(ini.text())), list);
    EXPECT_NE(ini.text().find("file1=file:///d/%C3%B5%B9%E5.DST"), std::string::npos);
    EXPECT_NE(ini.text().find("backcolor=EEEEEE"), std::string::npos);

    // A damaged section: what can be used of it.
    const IniFile damaged = IniFile::fromText("[recent]\nfile1=/a.dst\nfile2=relative.dst\nfile3=/"
                                              "a.dst\nfile4=\ngarbage\nfile5=/b.dst\n");
    EXPECT_EQ(readRecentDesigns(damaged), (std::vector<std::string>{"/a.dst", "/b.dst"}));

    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("here.dst"), {0});
    EXPECT_EQ(existingDesigns({dir.file("gone.dst"), dir.file("here.dst")}),
              std::vector<std::string>{dir.file("here.dst")});
}

TEST(RecentDesigns, RememberingKeepsTheRestOfTheFile)
{
    testsupport::TempDir dir;
    const std::string ini = dir.file("config.ini");
    testsupport::writeFile(ini, {'[', 'x', ']', '\n', 'k', '=', 'v', '\n'});
    const std::vector<std::string> designs{"/d/b.dst", "/d/a.dst"};
    ConfigStore config(ini);
    EXPECT_EQ(keepRecentDesigns(config, designs), "");
    IniFile read;
    ASSERT_TRUE(read.load(ini));
    EXPECT_EQ(read.value("x", "k"), "v");
    EXPECT_EQ(readRecentDesigns(read), designs);
    // The same list again writes nothing: the file is left as it is.
    ::chmod(ini.c_str(), 0444);
    EXPECT_EQ(keepRecentDesigns(config, designs), "");
    EXPECT_NE(keepRecentDesigns(config, {"/d/c.dst"}), ""); // read-only: said, not lost silently
}

TEST(WindowPlacement, ReadBackAndKeptOnAScreenThatIsThere)
{
    IniFile ini;
    EXPECT_FALSE(readWindowPlacement(ini));
    writeWindowPlacement(ini, {100, 50, 900, 700, true});
    EXPECT_EQ(readWindowPlacement(IniFile::fromText(ini.text())),
              (WindowPlacement{100, 50, 900, 700, true}));
    EXPECT_FALSE(readWindowPlacement(IniFile::fromText("[window]\nx=1\ny=2\nwidth=0\nheight=5\n")));
    EXPECT_FALSE(readWindowPlacement(IniFile::fromText("[window]\nx=a\ny=2\nwidth=9\nheight=5\n")));

    const std::vector<ScreenArea> one = {{0, 0, 1920, 1080}};
    EXPECT_TRUE(placementOnScreens({100, 50, 900, 700, false}, one));
    EXPECT_FALSE(placementOnScreens({2500, 50, 900, 700, false}, one));  // a screen unplugged
    EXPECT_FALSE(placementOnScreens({100, 1075, 900, 700, false}, one)); // title bar below
    EXPECT_FALSE(placementOnScreens({-880, 50, 900, 700, false}, one));  // 20 pixels left
    const std::vector<ScreenArea> two = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    EXPECT_TRUE(placementOnScreens({2500, 50, 900, 700, false}, two));
}

TEST(ConfigStore, ReadOnceSavedThroughAndNeverOverAnUnreadableFile)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("config.ini");
    testsupport::writeFile(path, {'[', 'a', ']', '\n', 'k', '=', '1', '\n'});
    ConfigStore config(path);
    EXPECT_EQ(config.ini().value("a", "k"), "1");

    // Changed by hand meanwhile: the store does not see it until it saves, and the save
    // keeps it, so the copy and the file agree afterwards.
    testsupport::writeFile(path, {'[', 'a', ']', '\n', 'k', '=', '2', '\n'});
    EXPECT_EQ(config.ini().value("a", "k"), "1");
    ASSERT_TRUE(config.change([](IniFile& ini) { ini.setValue("b", "m", "x"); }).ok());
    IniFile onDisk;
    ASSERT_TRUE(onDisk.load(path));
    EXPECT_EQ(onDisk.text(), config.ini().text());
    EXPECT_EQ(config.ini().value("a", "k"), "2");

    // A config.ini that cannot be read (here a folder) is said, and never written over.
    const std::string folder = dir.file("home2/config.ini");
    std::filesystem::create_directories(folder);
    ConfigStore broken(folder);
    EXPECT_NE(broken.readError(), "");
    const IniUpdate update = broken.change([](IniFile& ini) { ini.setValue("a", "k", "3"); });
    EXPECT_TRUE(update.readFailed);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(broken.ini().value("a", "k"));
}
