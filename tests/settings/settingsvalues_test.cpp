// The settings dialog's and the fabric chooser's values in config.ini, the fabric folder, the
// fabric colour list and the preview tint.
#include "config/configstore.h"
#include "settings/fabriccolours.h"
#include "settings/fabricfolder.h"
#include "settings/fabricpreview.h"
#include "settings/settingsconfig.h"
#include "testenv.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;

namespace {
auto anyFabric = [](const std::string&) { return true; };
}

TEST(SettingsConfig, DefaultsSaveAsTheDialogShowsThemAndOtherLinesStay)
{
    testsupport::TempDir home;
    const std::string path = home.file("config.ini");
    const std::string before = "; shop settings\r\n[printer]\r\ncominfo=0\r\n\r\n[general]\r\n"
                               "backcolor=123456\r\nlanguage=zh\r\n";
    testsupport::writeFile(path, {before.begin(), before.end()});
    ConfigStore store(path);

    ASSERT_EQ(changeConfigFile(store, [](IniFile& ini) { writeSettings(ini, SettingsValues{}); }),
              "");
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("sequin", "size1"), "5");
    EXPECT_EQ(ini.value("sequin", "size2"), "1.5");
    EXPECT_EQ(ini.value("general", "backcolor"), "EEEEEE");
    EXPECT_EQ(ini.value("sequin", "sequincolor"), "B4B4B4");
    EXPECT_EQ(ini.value("general", "fabriccolor"), "FFFFFF");
    EXPECT_EQ(ini.value("general", "isfabric"), "0");
    EXPECT_EQ(ini.value("general", "editor"), "");
    // Lines that are not ours keep their place, text and line ending.
    EXPECT_EQ(ini.value("printer", "cominfo"), "0");
    EXPECT_EQ(ini.value("general", "language"), "zh");
    EXPECT_EQ(ini.text().rfind("; shop settings\r\n[printer]\r\ncominfo=0\r\n", 0), 0u);

    // And back: a saved dialog reads as it was saved.
    SettingsValues saved;
    saved.editor = "/opt/彩绣/bin/editor";
    saved.isfabric = true;
    saved.fabricname = "denim";
    saved.fabriccolor = 0x0000FF;
    saved.backcolor = 0xABCDEF;
    saved.sequincolor = 0x010203;
    saved.size1 = "4,5";
    saved.size2 = "2";
    ASSERT_EQ(changeConfigFile(store, [&](IniFile& i) { writeSettings(i, saved); }), "");
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("general", "fabriccolor"), "0000FF"); // red: blue digits first
    SettingsValues read;
    EXPECT_EQ(readSettings(ini, read, anyFabric, ','), "");
    EXPECT_EQ(read.editor, saved.editor);
    EXPECT_TRUE(read.isfabric);
    EXPECT_EQ(read.fabricname, "denim");
    EXPECT_EQ(read.fabriccolor, saved.fabriccolor);
    EXPECT_EQ(read.backcolor, saved.backcolor);
    EXPECT_EQ(read.sequincolor, saved.sequincolor);
    EXPECT_EQ(read.size1, "4,5"); // as typed, in the user's own form
    EXPECT_EQ(read.size2, "2");
}

TEST(SettingsConfig, ReadingSkipsWhatIsMissingAndStopsAtABadValue)
{
    SettingsValues shown;
    shown.editor = "/usr/bin/old";
    shown.size1 = "7";
    // Empty values keep the field, except the editor, which an empty value clears; a fabric
    // whose picture is gone is not taken; isfabric=True counts as ticked.
    IniFile ini = IniFile::fromText("[general]\nfabricname=gone\nisfabric=True\neditor=\n"
                                    "backcolor=\n[sequin]\nsize1=\n");
    EXPECT_EQ(readSettings(
                  ini, shown, [](const std::string& n) { return n != "gone"; }, '.'),
              "");
    EXPECT_EQ(shown.fabricname, "");
    EXPECT_TRUE(shown.isfabric);
    EXPECT_EQ(shown.editor, "");
    EXPECT_EQ(shown.backcolor, 0xEEEEEEu);
    EXPECT_EQ(shown.size1, "7");

    // A colour that is not hexadecimal stops there: what came before stays read, what comes
    // after is not.
    SettingsValues partly;
    ini = IniFile::fromText("[general]\neditor=/bin/ed\nfabriccolor=00FF00\nbackcolor=grey\n"
                            "[sequin]\nsequincolor=000000\n");
    const std::string error = readSettings(ini, partly, anyFabric, '.');
    EXPECT_NE(error.find("grey"), std::string::npos) << error;
    EXPECT_EQ(partly.editor, "/bin/ed");
    EXPECT_EQ(partly.fabriccolor, 0x00FF00u);
    EXPECT_EQ(partly.backcolor, 0xEEEEEEu);
    EXPECT_EQ(partly.sequincolor, 0xB4B4B4u);

    ini = IniFile::fromText("[general]\nisfabric=perhaps\n");
    EXPECT_EQ(readSettings(ini, partly, anyFabric, '.'), "'perhaps' is not a valid boolean value");
}

TEST(SettingsConfig, FabricChoiceAndUnwritableFolders)
{
    testsupport::TempDir home;
    const std::string path = home.file("config.ini");
    ConfigStore store(path);
    ASSERT_EQ(
        changeConfigFile(store, [](IniFile& ini) { writeFabricChoice(ini, "linen", 0xFEFEFE); }),
        "");
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("general", "fabricname"), "linen");
    EXPECT_EQ(ini.value("general", "fabriccolor"), "FEFEFE");
    // Without a picture there is no name to write, and the old one stays.
    ASSERT_EQ(
        changeConfigFile(store, [](IniFile& i) { writeFabricChoice(i, std::nullopt, 0x000000); }),
        "");
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("general", "fabricname"), "linen");
    EXPECT_EQ(ini.value("general", "fabriccolor"), "000000");

    // A home that is not a folder: the message names the file.
    testsupport::writeFile(home.file("plain"), {1});
    ConfigStore plain(home.file("plain") + "/config.ini");
    const std::string nowhere =
        changeConfigFile(plain, [](IniFile& i) { writeFabricChoice(i, "linen", 0); });
    EXPECT_NE(nowhere.find("plain/config.ini"), std::string::npos) << nowhere;

    // A read-only config.ini is refused for root too, and named; nothing is lost.
    ::chmod(path.c_str(), 0444);
    const std::string error =
        changeConfigFile(store, [](IniFile& i) { writeSettings(i, SettingsValues{}); });
    EXPECT_NE(error.find("config.ini"), std::string::npos) << error;
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("general", "fabricname"), "linen");
}

TEST(FabricFolder, PicturesInFileManagerOrderWithTheirRealNames)
{
    testsupport::TempDir home;
    const std::string h = home.path().string() + "/";
    EXPECT_FALSE(fabricFolderExists(h));
    EXPECT_TRUE(listFabrics(h).empty());
    std::filesystem::create_directories(h + "Fabrics/sub.bmp");
    for (const char* name :
         {"twill.bmp", "Denim.BMP", "canvas10.bmp", "canvas9.bmp", "notes.txt", ".bmp"})
        testsupport::writeFile(h + "Fabrics/" + name, {1});
    EXPECT_TRUE(fabricFolderExists(h));
    std::vector<std::string> names;
    for (const FabricPicture& f : listFabrics(h))
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"canvas9", "canvas10", "Denim", "twill"}));
    EXPECT_EQ(findFabricPicture(h, "Denim"), h + "Fabrics/Denim.BMP");
    EXPECT_EQ(findFabricPicture(h, "twill"), h + "Fabrics/twill.bmp");
    EXPECT_EQ(findFabricPicture(h, "denim"), std::nullopt); // the name itself keeps its case
    EXPECT_EQ(findFabricPicture(h, "../Fabrics/twill"), std::nullopt);
    EXPECT_EQ(findFabricPicture(h, ""), std::nullopt);
}

TEST(FabricColours, TheShopsListAsItStands)
{
    const auto& rows = fabricColourRows();
    ASSERT_EQ(rows.size(), 85u);
    EXPECT_STREQ(rows.front().key, "FeFeFe");
    EXPECT_STREQ(rows.front().code, "800");
    EXPECT_EQ(fabricRowColour(rows.front()), 0xFEFEFEu);
    EXPECT_STREQ(rows.back().key, "FFFFFF");
    EXPECT_STREQ(rows.back().code, "800");
    EXPECT_STREQ(rows[25].code, "002"); // codes are text: the leading zero stays
    // Keys are red-low values: "0247A6" has blue 02, green 47, red A6.
    EXPECT_EQ(fabricRowColour(rows[81]), 0x0247A6u);
    EXPECT_STREQ(rows[81].key, "0247A6");
    // The row 8C8C96=485 is listed twice, as the shop's list has it.
    int twice = 0;
    for (const auto& r : rows)
        twice += std::string(r.key) == "8C8C96";
    EXPECT_EQ(twice, 2);
}

TEST(FabricPreview, TopLeftCropExtendedAndTintedLikeTheViewer)
{
    // 200 x 3 picture: the tile keeps the top-left 128 columns and repeats the three rows.
    RgbPicture wide{200, 3, std::vector<std::uint8_t>(200 * 3 * 3)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 200; ++x)
            for (int c = 0; c < 3; ++c)
                wide.rgb[std::size_t((y * 200 + x) * 3 + c)] = std::uint8_t(x + y * 10);
    const RgbPicture tile = fabricListPicture(wide);
    ASSERT_EQ(tile.width, 128);
    ASSERT_EQ(tile.height, 128);
    ASSERT_EQ(tile.rgb.size(), 128u * 128 * 3);
    auto at = [&](const RgbPicture& p, int x, int y, int c) {
        return p.rgb[std::size_t((y * p.width + x) * 3 + c)];
    };
    EXPECT_EQ(at(tile, 127, 0, 0), 127);
    EXPECT_EQ(at(tile, 5, 2, 1), 25);
    EXPECT_EQ(at(tile, 5, 4, 2), 15); // row 4 repeats row 1
    EXPECT_EQ(at(fabricListPicture({}), 64, 64, 0), 128);

    // Mid grey 128 tinted red gives (255, 1, 1); black stays black, white stays white.
    RgbPicture grey{1, 1, {128, 128, 128}};
    const RgbPicture red = fabricPreview(fabricListPicture(grey), 0x0000FF);
    EXPECT_EQ(at(red, 10, 10, 0), 255);
    EXPECT_EQ(at(red, 10, 10, 1), 1);
    EXPECT_EQ(at(red, 10, 10, 2), 1);
    EXPECT_EQ(at(fabricPreview(fabricListPicture({1, 1, {0, 0, 0}}), 0x123456), 0, 0, 1), 0);
    EXPECT_EQ(at(fabricPreview(fabricListPicture({1, 1, {255, 255, 255}}), 0x000000), 0, 0, 2),
              255);
}
