// The external editor: which file it gets, how it is started, desktop entries as editors.
#include "session/processlaunch.h"
#include "settings/desktopexec.h"
#include "settings/editorcommand.h"
#include "testenv.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;

namespace {
std::string readText(const std::string& path)
{
    const auto bytes = testsupport::readFile(path);
    return {bytes.begin(), bytes.end()};
}

void writeText(const std::string& path, const std::string& text, bool executable = false)
{
    testsupport::writeFile(path, {text.begin(), text.end()});
    if (executable)
        ::chmod(path.c_str(), 0755);
}

// Waits for a file the detached editor writes.
std::string waitForText(const std::string& path)
{
    for (int i = 0; i < 300 && readText(path).empty(); ++i)
        ::usleep(10000);
    return readText(path);
}
} // namespace

TEST(EditorCommand, EmbBesideTheDesignWinsOverTheDstInAnyLetterCase)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    writeText(folder + "ROSE.DST", "x");
    EXPECT_EQ(editorTarget(folder + "ROSE.DST"), folder + "ROSE.DST");
    writeText(folder + "Rose.Emb", "x");
    EXPECT_EQ(editorTarget(folder + "ROSE.DST"), folder + "Rose.Emb");
    writeText(folder + "ROSE.emb", "x"); // the exact name first
    EXPECT_EQ(editorTarget(folder + "ROSE.DST"), folder + "ROSE.emb");
    // The design file went away but another spelling of it is there.
    writeText(folder + "tulip.dst", "x");
    EXPECT_EQ(editorTarget(folder + "TULIP.DST"), folder + "tulip.dst");
    EXPECT_EQ(editorTarget(folder + "gone.dst"), std::nullopt);
    EXPECT_EQ(editorTarget(""), std::nullopt);
}

TEST(EditorCommand, TheEditorGetsTheRealFileAsOneArgumentWithoutQuotes)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const std::string log = folder + "args.log";
    // The editor writes each argument on a line of its own, and where it started.
    const std::string editor = folder + "my editor";
    writeText(editor,
              "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + log +
                  "'\n",
              true);
    // A design named in code page 936 bytes with a blank and a quote in it.
    const std::string design = folder + "\xBB\xA8 it's.DST";
    writeText(design, "x");
    writeText(folder + "\xBB\xA8 it's.emb", "x");

    EXPECT_EQ(openInExternalEditor("", design).status, EditorStatus::EditorMissing);
    EXPECT_EQ(openInExternalEditor(folder, design).status, EditorStatus::EditorMissing);
    writeText(folder + "plain.txt", "x");
    EXPECT_EQ(openInExternalEditor(folder + "plain.txt", design).status,
              EditorStatus::EditorMissing); // not executable
    EXPECT_EQ(openInExternalEditor(editor, folder + "none.dst").status, EditorStatus::NoDesignFile);

    const EditorOutcome outcome = openInExternalEditor(editor, design);
    ASSERT_EQ(outcome.status, EditorStatus::Started) << outcome.error;
    EXPECT_EQ(waitForText(log), dir.path().string() + "\n" + folder + "\xBB\xA8 it's.emb\n");
}

TEST(EditorCommand, AnEditorThatCannotStartIsReported)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    writeText(folder + "a.dst", "x");
    // Executable, but no program a kernel can run.
    writeText(folder + "broken",
              "\x7F"
              "ELF garbage",
              true);
    const EditorOutcome outcome = openInExternalEditor(folder + "broken", folder + "a.dst");
    EXPECT_EQ(outcome.status, EditorStatus::Failed);
    EXPECT_NE(outcome.error.find("broken"), std::string::npos) << outcome.error;
}

TEST(EditorCommand, DesktopEntriesStartTheirProgramWithTheFile)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    const std::string log = folder + "args.log";
    const std::string program = folder + "stitch editor";
    writeText(program,
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log + "'\n", true);
    const std::string entry = folder + "editor.desktop";
    writeText(entry, "[Desktop Entry]\nName=Editor\nIcon=x\n"
                     "Exec=\"" +
                         program +
                         "\" --open %F -i %i %%done\n"
                         "[Desktop Action New]\nExec=wrong\n");
    writeText(folder + "b.dst", "x");
    EXPECT_TRUE(isRunnableEditor(entry));
    ASSERT_EQ(openInExternalEditor(entry, folder + "b.dst").status, EditorStatus::Started);
    EXPECT_EQ(waitForText(log), "--open\n" + folder + "b.dst\n-i\n%done\n");

    EXPECT_EQ(expandDesktopExec("sh -c \"echo %f\" %u", "/a b/ü.dst", "")->at(2), "echo %f");
    EXPECT_EQ(expandDesktopExec("sh %u", "/a b/ü.dst", "")->at(1), "file:///a%20b/%C3%BC.dst");
    EXPECT_EQ(expandDesktopExec("\"sh", "x", ""), std::nullopt); // open quote
    EXPECT_EQ(expandDesktopExec("no-such-program-anywhere %f", "x", ""), std::nullopt);
    EXPECT_EQ(desktopEntryExec("[Desktop Entry]\nExec=a\\sb\\\\c\n"), "a b\\c");
    EXPECT_FALSE(isRunnableEditor(folder + "missing.desktop"));
}

TEST(ProgramLaunch, NoRelativePathEntryAndNoDescriptorBeyondTheStandardThree)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    // A program named like a helper, lying in the working folder.
    writeText(folder + "loomscope-helper-x", "#!/bin/sh\n", true);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const auto oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const char* path : {"", ":/nowhere", ".:/nowhere", "/nowhere::", "sub:."}) {
        ::setenv("PATH", path, 1);
        EXPECT_EQ(findProgram("loomscope-helper-x"), std::nullopt) << '"' << path << '"';
    }
    ::setenv("PATH", (".:" + folder).c_str(), 1);
    EXPECT_EQ(findProgram("loomscope-helper-x"), folder + "loomscope-helper-x");
    ::setenv("PATH", oldPath.c_str(), 1);
    std::filesystem::current_path(oldFolder);

    // A descriptor this process holds without close-on-exec does not reach the program.
    const int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 3);
    const std::string out = folder + "fds.txt";
    ASSERT_EQ(startDetached(
                  {"/bin/sh", "-c",
                   "exec >'" + out + ".tmp'; ls /proc/$$/fd; mv '" + out + ".tmp' '" + out + "'"}),
              "");
    EXPECT_EQ(waitForText(out), "0\n1\n2\n");
    EXPECT_EQ(runAndWait({"/bin/sh", "-c", "test ! -e /proc/$$/fd/" + std::to_string(leaky)}), 0);
    ::close(leaky);
}
