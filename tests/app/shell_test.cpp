// The program home, the folder list with previous and next, the key table and the summary.
#include "app/keyboardmap.h"
#include "config/programhome.h"
#include "model/folderlist.h"
#include "model/summarytext.h"
#include "model/tembs.h"
#include "testenv.h"

#include <algorithm>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

    // A program folder the user may not write to: the home is made in the user's data folder,
    // seeded once. The checks give the first that failed, or 0.
    ::chmod(exe.c_str(), 0555);
    auto userFolderChecks = [&]() -> int {
        const ProgramHome home = resolveProgramHome({"", exe, dir.file("data"), shipped});
        if (home.folder != dir.file("data") + "/loomscope/")
            return 1;
        if (!fs::exists(home.folder + "Fabrics/canvas.bmp"))
            return 2;
        // A second start keeps what the user changed.
        testsupport::writeFile(home.folder + "Fabrics/canvas.bmp", {9});
        resolveProgramHome({"", exe, dir.file("data"), shipped});
        return testsupport::readFile(home.folder + "Fabrics/canvas.bmp").size() == 1 ? 0 : 3;
    };
    if (geteuid() == 0) { // root may write anywhere: the checks run as the user nobody
        // In a child process, as a user who may write in the test's folder but not in the
        // program folder.
        ::chmod(dir.path().c_str(), 0777);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(100);
            ::_exit(userFolderChecks());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 100)
            GTEST_SKIP() << "this machine does not let root become another user";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the check that failed";
    } else {
        EXPECT_EQ(userFolderChecks(), 0);
    }
    ::chmod(exe.c_str(), 0755);
}

TEST(FolderList, DesignsKeepTheirRealNamesInFileManagerOrder)
{
    testsupport::TempDir dir;
    // Created in an order that readdir would not give back sorted.
    for (const char* name : {"D.dst", "rose.lsc", "c.dst", "notes.txt", "A.DST", "B.Dst",
                             "design10.dst", "design9.dst", "a.b.dst", "design010.dst"})
        testsupport::writeFile(dir.file(name), {0});
    fs::create_directory(dir.path() / "folder.dst");
    const auto designs = listDesigns(dir.path().string() + "/");
    std::vector<std::string> files;
    for (const DesignEntry& d : designs)
        files.push_back(d.fileName);
    EXPECT_EQ(files, (std::vector<std::string>{"a.b.dst", "A.DST", "B.Dst", "c.dst", "D.dst",
                                               "design9.dst", "design010.dst", "design10.dst"}));
    EXPECT_EQ(designs[0].name, "a.b"); // only the last extension goes
    EXPECT_EQ(designs[1].name, "A");
    EXPECT_TRUE(listDesigns(dir.file("missing") + "/").empty());

    EXPECT_TRUE(fileManagerLess("x2", "X10"));
    EXPECT_FALSE(fileManagerLess("X10", "x2"));
    EXPECT_TRUE(fileManagerLess("ROSE", "rose")); // equal but for case: bytes decide
}

TEST(FolderList, PreviousAndNextStopAtTheEndsAndOpenRealFiles)
{
    const std::vector<DesignEntry> designs = {
        {"a.dst", "a", {}}, {"B.DST", "B", {}}, {"c.dst", "c", {}}};
    EXPECT_EQ(previousDesign(designs, "B.DST", "B")->fileName, "a.dst");
    EXPECT_EQ(nextDesign(designs, "", "b")->fileName, "c.dst"); // names compare without case
    EXPECT_EQ(previousDesign(designs, "a.dst", "a"), std::nullopt);
    EXPECT_EQ(nextDesign(designs, "c.dst", "c"), std::nullopt);
    EXPECT_EQ(previousDesign(designs, "zz.dst", "zz"), std::nullopt);
    EXPECT_EQ(nextDesign(designs, "zz.dst", "zz")->fileName, "a.dst");
    EXPECT_EQ(nextDesign({}, "zz.dst", "zz"), std::nullopt);
    // Two spellings of one name on a case-sensitive disk: the exact file is found.
    const std::vector<DesignEntry> twins = {{"ROSE.DST", "ROSE", {}}, {"rose.dst", "rose", {}}};
    EXPECT_EQ(findDesign(twins, "rose.dst", "rose"), 1);
    EXPECT_EQ(findDesign(twins, "", "rose"), 0);
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

TEST(ProgramHome, AHomeWithoutFabricsOrChartsGetsTheShippedOnes)
{
    testsupport::TempDir dir;
    const std::string shipped = dir.file("share");
    fs::create_directories(fs::path(shipped) / "Fabrics");
    testsupport::writeFile(shipped + "/Fabrics/canvas.bmp", {1});
    testsupport::writeFile(shipped + "/Isacord.tch", {'1'});
    testsupport::writeFile(shipped + "/charts-LICENSE.txt", {'z'});
    // A home named by $LOOMSCOPE_HOME, empty: it gets them, and the charts' licence with them.
    const std::string env = dir.file("env");
    resolveProgramHome({env, "", dir.file("data"), shipped});
    EXPECT_TRUE(fs::exists(env + "/Fabrics/canvas.bmp"));
    EXPECT_TRUE(fs::exists(env + "/Isacord.tch"));
    EXPECT_TRUE(fs::exists(env + "/charts-LICENSE.txt"));
    // A home seeded before the licence travelled with the charts gets it now.
    fs::remove(env + "/charts-LICENSE.txt");
    resolveProgramHome({env, "", dir.file("data"), shipped});
    EXPECT_TRUE(fs::exists(env + "/charts-LICENSE.txt"));
    // One with fabrics and charts of its own keeps exactly those.
    const std::string own = dir.file("own");
    fs::create_directories(fs::path(own) / "Fabrics");
    testsupport::writeFile(own + "/Mine.tch", {'2'});
    resolveProgramHome({own, "", dir.file("data"), shipped});
    EXPECT_FALSE(fs::exists(own + "/Fabrics/canvas.bmp"));
    EXPECT_FALSE(fs::exists(own + "/Isacord.tch"));
    EXPECT_FALSE(fs::exists(own + "/charts-LICENSE.txt"));
}

TEST(ProgramHome, TheManualIsFoundBesideTheProgramOrInstalled)
{
    testsupport::TempDir dir;
    const std::string build = dir.file("build");
    fs::create_directories(build + "/manual");
    testsupport::writeFile(build + "/manual/index.html", {'<'});
    EXPECT_EQ(findManual(build, dir.file("home")), build + "/manual/index.html");
    // An installation: bin/ beside share/loomscope.
    fs::create_directories(dir.file("usr/bin"));
    fs::create_directories(dir.file("usr/share/loomscope/manual"));
    testsupport::writeFile(dir.file("usr/share/loomscope/manual/index.html"), {'<'});
    EXPECT_EQ(findManual(dir.file("usr/bin"), dir.file("home")),
              dir.file("usr/share/loomscope/manual/index.html"));
    EXPECT_EQ(findManual(dir.file("nowhere"), dir.file("home")), "");
}
