// The program home, the folder list with previous and next, the key table and the summary.
#include "app/folderlist.h"
#include "app/keyboardmap.h"
#include "app/programhome.h"
#include "app/summarytext.h"
#include "model/tembs.h"
#include "testenv.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;
namespace fs = std::filesystem;

TEST(ProgramHome, EnvironmentThenProgramFolderThenUserFolder)
{
    testsupport::TempDir dir;
    const std::string exe = dir.file("bin");
    const std::string shipped = dir.file("share");
    fs::create_directories(exe);
    fs::create_directories(fs::path(shipped) / "Fabrics");
    testsupport::writeFile(shipped + "/Fabrics/canvas.bmp", {1, 2, 3});

    EXPECT_EQ(resolveProgramHome({dir.file("env"), exe, dir.file("data"), shipped}).folder,
              dir.file("env") + "/");
    EXPECT_TRUE(fs::is_directory(dir.file("env")));
    EXPECT_EQ(resolveProgramHome({"", exe, dir.file("data"), shipped}).folder, exe + "/");
    if (geteuid() != 0) { // root can write anywhere
        ::chmod(exe.c_str(), 0555);
        const ProgramHome home = resolveProgramHome({"", exe, dir.file("data"), shipped});
        EXPECT_EQ(home.folder, dir.file("data") + "/loomscope/");
        EXPECT_TRUE(fs::exists(home.folder + "Fabrics/canvas.bmp"));
        // A second start keeps what the user changed.
        testsupport::writeFile(home.folder + "Fabrics/canvas.bmp", {9});
        resolveProgramHome({"", exe, dir.file("data"), shipped});
        EXPECT_EQ(testsupport::readFile(home.folder + "Fabrics/canvas.bmp").size(), 1u);
        ::chmod(exe.c_str(), 0755);
    }
}

TEST(FolderList, DstFilesInAnyCaseWithoutTheirExtension)
{
    testsupport::TempDir dir;
    for (const char* name :
         {"rose.dst", "Lily.DST", "tulip.Dst", "rose.lsc", "notes.txt", "a.b.dst"})
        testsupport::writeFile(dir.file(name), {0});
    fs::create_directory(dir.path() / "folder.dst");
    auto names = listDesignNames(dir.path().string() + "/");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Lily", "a.b", "rose", "tulip"}));
    EXPECT_TRUE(listDesignNames(dir.file("missing") + "/").empty());
}

TEST(FolderList, PreviousAndNextStopAtTheEnds)
{
    const std::vector<std::string> names = {"a", "b", "c"};
    EXPECT_EQ(previousDesignName(names, "b"), "a");
    EXPECT_EQ(nextDesignName(names, "B"), "c"); // names compare without case
    EXPECT_EQ(previousDesignName(names, "a"), std::nullopt);
    EXPECT_EQ(nextDesignName(names, "c"), std::nullopt);
    EXPECT_EQ(previousDesignName(names, "zz"), std::nullopt);
    EXPECT_EQ(nextDesignName(names, "zz"), "a");
    EXPECT_EQ(nextDesignName({}, "zz"), std::nullopt);
    EXPECT_EQ(findDesignName(names, "C"), 2);
}

TEST(KeyTable, OnlyRAndZLookAtShift)
{
    using A = MainAction;
    EXPECT_EQ(keyActions(MainKey::T, false), std::vector<A>{A::ToggleShowType});
    EXPECT_EQ(keyActions(MainKey::T, true), std::vector<A>{A::ToggleShowType});
    EXPECT_TRUE(keyActions(MainKey::R, false).empty());
    EXPECT_EQ(keyActions(MainKey::R, true), std::vector<A>{A::SlowDisplay});
    EXPECT_TRUE(keyActions(MainKey::Z, false).empty());
    EXPECT_EQ(keyActions(MainKey::Z, true), std::vector<A>{A::Reduce});
    EXPECT_EQ(keyActions(MainKey::B, false), std::vector<A>{A::Enlarge});
    EXPECT_EQ(keyActions(MainKey::KeypadPlus, false), std::vector<A>{A::Enlarge});
    EXPECT_EQ(keyActions(MainKey::Digit2, false), std::vector<A>{A::ToggleBeginEnd});
    EXPECT_EQ(keyActions(MainKey::PageUp, false), std::vector<A>{A::PriorColour});
    EXPECT_TRUE(keyActions(MainKey::Other, true).empty());
}

TEST(SummaryText, SixLinesWithMillimetresAndInches)
{
    Tdstinfo info{12345, 6, 85.3, 100, 7};
    EXPECT_EQ(summaryText("rose", info), "rose\r12345\r6\r7\r85.3 * 100\r3.358 * 3.937");
    EXPECT_EQ(summaryText("rose", info, ','), "rose\r12345\r6\r7\r85,3 * 100\r3,358 * 3,937");
    EXPECT_EQ(summaryCaptions(), "花样名：\r针数：\r颜色：\r珠片数：\r尺寸(mm)：\r尺寸(inch)：");
}
