// The INI file: every other line kept, names without case, atomic writes, UTF-8.
#include "config/inifile.h"
#include "testenv.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;

namespace {
const std::string kSample = "; LoomScope settings\n"
                            "[General]\n"
                            "Editor = /usr/bin/editor \n"
                            "backcolor=EEEEEE\n"
                            "\n"
                            "[Other]\n"
                            "; someone else's\n"
                            "thing=\"quoted value\"\n"
                            "\n";
} // namespace

TEST(IniFile, ReadsWithoutRegardToCase)
{
    const IniFile ini = IniFile::fromText(kSample);
    EXPECT_EQ(ini.value("general", "editor"), "/usr/bin/editor");
    EXPECT_EQ(ini.value("GENERAL", "BackColor"), "EEEEEE");
    EXPECT_EQ(ini.value("other", "thing"), "quoted value");
    EXPECT_FALSE(ini.value("general", "thing"));
    EXPECT_FALSE(ini.value("missing", "editor"));
    EXPECT_TRUE(ini.hasSection("OTHER"));
}

TEST(IniFile, ChangesOnlyItsOwnLines)
{
    IniFile ini = IniFile::fromText(kSample);
    ini.setValue("general", "BACKCOLOR", "000000");
    ini.setValue("general", "isfabric", "-1");
    ini.setValue("sequin", "size1", "5");
    EXPECT_EQ(ini.text(), "; LoomScope settings\n"
                          "[General]\n"
                          "Editor = /usr/bin/editor \n"
                          "backcolor=000000\n"
                          "isfabric=-1\n"
                          "\n"
                          "[Other]\n"
                          "; someone else's\n"
                          "thing=\"quoted value\"\n"
                          "\n"
                          "[sequin]\n"
                          "size1=5\n");
    EXPECT_EQ(IniFile::fromText(ini.text()).value("sequin", "size1"), "5");
}

TEST(IniFile, KeepsWindowsLineEndingsAndDropsAByteOrderMark)
{
    IniFile ini = IniFile::fromText("\xEF\xBB\xBF[a]\r\nk=1\r\n");
    EXPECT_EQ(ini.value("a", "k"), "1");
    ini.setValue("a", "k", "2");
    EXPECT_EQ(ini.text(), "[a]\r\nk=2\r\n");
}

TEST(IniFile, ValuesStayOnOneLine)
{
    IniFile ini;
    ini.setValue("general", "editor", "evil\n[general]\nbackcolor=000000");
    EXPECT_EQ(ini.value("general", "backcolor"), std::nullopt);
}

TEST(IniFile, ChineseTextRoundTrips)
{
    testsupport::TempDir dir;
    IniFile ini;
    ini.setValue("companyinfo", "comname", "上海绣花有限公司");
    ASSERT_EQ(ini.save(dir.file("config.ini")), "");
    IniFile back;
    ASSERT_TRUE(back.load(dir.file("config.ini")));
    EXPECT_EQ(back.value("companyinfo", "comname"), "上海绣花有限公司");
}

TEST(IniFile, MissingFileIsEmptyAndFailedWritesLeaveTheOldFile)
{
    testsupport::TempDir dir;
    IniFile ini;
    EXPECT_TRUE(ini.load(dir.file("none.ini")));
    EXPECT_EQ(ini.text(), "");
    ini.setValue("general", "backcolor", "EEEEEE");
    const std::string path = dir.file("config.ini");
    ASSERT_EQ(ini.save(path), "");
    // A read-only file is refused (whoever runs the program, root included), and so is a
    // write that fails half-way (a full disk: here a file-size limit).
    ::chmod(path.c_str(), 0444);
    ini.setValue("general", "backcolor", "000000");
    EXPECT_NE(ini.save(path), "");
    ::chmod(path.c_str(), 0644);
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 8;
        ::setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_NE(ini.save(path), "");
        ::setrlimit(RLIMIT_FSIZE, &old);
    }
    IniFile back;
    back.load(path);
    EXPECT_EQ(back.value("general", "backcolor"), "EEEEEE");
    EXPECT_NE(ini.save(dir.file("no/such/folder/config.ini")), "");
}
