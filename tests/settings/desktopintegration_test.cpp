// The program on the Linux desktop: desktop entry, MIME package, default program, thumbnailer,
// failed-thumbnail records, sibling plug-ins. Everything runs in temporary XDG folders.
#include "model/fileio.h"
#include "session/processlaunch.h"
#include "settings/desktopfiles.h"
#include "settings/desktopintegration.h"
#include "settings/failedthumbnails.h"
#include "settings/mimeappslist.h"
#include "testenv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;
namespace fs = std::filesystem;

namespace {

std::string readText(const std::string& path)
{
    const auto bytes = testsupport::readFile(path);
    return {bytes.begin(), bytes.end()};
}

void writeText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    testsupport::writeFile(path, {text.begin(), text.end()});
}

// Every file below a folder with its bytes.
std::map<std::string, std::string> tree(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = readText(entry.path().string());
    return files;
}

// Runs a shell command line; its exit status and what it printed.
std::pair<int, std::string> shell(const std::string& command)
{
    testsupport::TempDir out;
    const int status = std::system((command + " >" + out.file("log") + " 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out.file("log"))};
}

std::string shellQuoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A thumbnail PNG as file managers write them: only the chunks that matter here.
std::string thumbnailRecord(const std::string& uri)
{
    auto chunk = [](const std::string& type, const std::string& data) {
        std::string c;
        for (int shift = 24; shift >= 0; shift -= 8)
            c += static_cast<char>((data.size() >> shift) & 0xFF);
        return c + type + data + "CRC!";
    };
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", std::string(13, '\0')) +
           chunk("tEXt", std::string("Thumb::MTime\0", 13) + "1700000000") +
           chunk("tEXt", std::string("Thumb::URI\0", 11) + uri) + chunk("IEND", "");
}

struct Desktop {
    testsupport::TempDir root;
    std::vector<std::vector<std::string>> toolRuns;

    IntegrationSetup setup(const std::string& program = "/usr/bin/loomscope")
    {
        IntegrationSetup s;
        s.environment.dataHome = root.file("data");
        s.environment.configHome = root.file("config");
        s.environment.cacheHome = root.file("cache");
        s.environment.dataDirs = {root.file("system")};
        s.programPath = program;
        s.programHome = root.file("home") + "/";
        s.icons = {{"48x48/apps/loomscope.png", {1, 2, 3}},
                   {"scalable/mimetypes/application-x-tajima-dst.svg", {'<', 's', '>'}}};
        s.runTool = [this](const std::vector<std::string>& argv) -> std::optional<int> {
            toolRuns.push_back(argv);
            return runInstalledTool(argv);
        };
        return s;
    }
    std::string data(const std::string& rest) const { return root.file("data") + "/" + rest; }
    std::string config(const std::string& rest) const { return root.file("config") + "/" + rest; }
};

} // namespace

TEST(DesktopFiles, ExecLinesSurviveAwkwardProgramPaths)
{
    const std::string odd = "/opt/Loom Scope/$HOME/a\\b/100%/loomscope";
    EXPECT_EQ(execProgramArgument("/usr/bin/loomscope"), "\"/usr/bin/loomscope\"");
    // Quoted for the command line (\$, \\), then escaped as a string value (\\ again), and a
    // percent sign doubled so that it is no field code.
    EXPECT_EQ(execProgramArgument(odd), "\"/opt/Loom Scope/\\\\$HOME/a\\\\\\\\b/100%%/loomscope\"");
    const std::string entry = desktopEntryText(odd);
    EXPECT_NE(entry.find("Exec=" + execProgramArgument(odd) + " %f\n"), std::string::npos);
    EXPECT_NE(entry.find("Actions=Open;Preview;"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-tajima-dst;"), std::string::npos);
    EXPECT_NE(thumbnailerText("/usr/bin/loomscope")
                  .find("Exec=\"/usr/bin/loomscope\" --thumbnail -s %s %i %o\n"),
              std::string::npos);

    EXPECT_EQ(execPathProblem("/usr/bin/loomscope"), "");
    EXPECT_NE(execPathProblem("loomscope"), "");
    EXPECT_NE(execPathProblem("/opt/\xB2\xCA/loomscope"), ""); // code page 936 bytes: not UTF-8
    EXPECT_NE(execPathProblem("/opt/a\nb"), "");
    EXPECT_EQ(execPathProblem("/opt/100%/loomscope"), execPathProblem("/opt/\xB2\xCA/loomscope"));
    EXPECT_EQ(desktopProgramPath("/usr/local/bin/"), "/usr/local/bin/loomscope");
}

TEST(DesktopFiles, DesktopEntryAndMimePackageValidate)
{
    testsupport::TempDir dir;
    const std::string entry = dir.file("loomscope.desktop");
    writeText(entry, desktopEntryText("/opt/Loom Scope/$x/loomscope"));
    const std::string package = dir.file("loomscope.xml");
    writeText(package, mimePackageText(dstMimeAliases()));

    bool checked = false;
    if (findProgram("desktop-file-validate")) {
        const auto [status, output] = shell("desktop-file-validate " + shellQuoted(entry));
        EXPECT_EQ(status, 0) << output;
        EXPECT_EQ(output, "") << output; // not even a hint
        checked = true;
    }
    // The schema is the document type that shared-mime-info ships in its own package.
    const std::string shipped = "/usr/share/mime/packages/freedesktop.org.xml";
    if (findProgram("xmllint") && fileExists(shipped)) {
        const std::string text = readText(shipped);
        const auto open = text.find("<!DOCTYPE mime-info [");
        const auto close = text.find("]>", open);
        ASSERT_NE(open, std::string::npos);
        const std::string dtd = dir.file("shared-mime-info.dtd");
        writeText(dtd, text.substr(open + 21, close - open - 21));
        const auto [status, output] =
            shell("xmllint --noout --dtdvalid " + shellQuoted(dtd) + " " + shellQuoted(package));
        EXPECT_EQ(status, 0) << output;
        checked = true;
    }
    if (!checked)
        GTEST_SKIP() << "neither desktop-file-validate nor xmllint is installed";
}

TEST(MimeAppsList, OursComesFirstAndTheUsersOtherProgramsStay)
{
    const std::vector<std::string> types = {"application/x-tajima-dst", "application/x-dst"};
    const std::string before = "[Default Applications]\n"
                               "text/plain=gedit.desktop;\n"
                               "Application/X-Tajima-DST=other-viewer.desktop;\n"
                               "\n"
                               "[Added Associations]\n"
                               "application/x-dst=other-viewer.desktop;wine.desktop;\n"
                               "image/png=gimp.desktop;\n"
                               "[Removed Associations]\n"
                               "application/x-tajima-dst=loomscope.desktop;wine.desktop;\n"
                               "application/x-dst=loomscope.desktop;\n";
    const std::string preferred = preferringProgram(before, types, "loomscope.desktop");
    EXPECT_EQ(preferred, "[Default Applications]\n"
                         "text/plain=gedit.desktop;\n"
                         "Application/X-Tajima-DST=loomscope.desktop;other-viewer.desktop;\n"
                         "\n"
                         "[Added Associations]\n"
                         "application/x-dst=loomscope.desktop;other-viewer.desktop;wine.desktop;\n"
                         "image/png=gimp.desktop;\n"
                         "[Removed Associations]\n"
                         "application/x-tajima-dst=wine.desktop;\n");
    EXPECT_EQ(preferringProgram(preferred, types, "loomscope.desktop"), preferred);
    EXPECT_EQ(withDefaultApplication(preferred, types[0], "loomscope.desktop"),
              "[Default Applications]\n"
              "text/plain=gedit.desktop;\n"
              "application/x-tajima-dst=loomscope.desktop;other-viewer.desktop;\n"
              "\n"
              "[Added Associations]\n"
              "application/x-dst=loomscope.desktop;other-viewer.desktop;wine.desktop;\n"
              "image/png=gimp.desktop;\n"
              "application/x-tajima-dst=loomscope.desktop;\n"
              "[Removed Associations]\n"
              "application/x-tajima-dst=wine.desktop;\n");
    EXPECT_EQ(withDefaultApplication("", types[0], "loomscope.desktop"),
              "[Default Applications]\napplication/x-tajima-dst=loomscope.desktop;\n"
              "\n[Added Associations]\napplication/x-tajima-dst=loomscope.desktop;\n");
}

TEST(Association, TwiceGivesTheSameFilesAndPutsUsBeforeTheUsersEarlierChoice)
{
    Desktop desktop;
    writeText(desktop.config("mimeapps.list"),
              "[Default Applications]\napplication/x-tajima-dst=old-viewer.desktop;\n"
              "text/plain=gedit.desktop;\n");
    writeText(desktop.config("gnome-mimeapps.list"),
              "[Default Applications]\napplication/x-dst=old-viewer.desktop;\n");
    // A program folder with a blank in its name.
    const std::string program = desktop.root.file("loom scope") + "/loomscope";
    writeText(program, "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    const IntegrationSetup setup = desktop.setup(program);

    const IntegrationOutcome first = associateDstFiles(setup);
    ASSERT_TRUE(first.ok()) << first.errors.front();
    const auto afterFirst = tree(desktop.root.path());
    const IntegrationOutcome second = associateDstFiles(setup);
    ASSERT_TRUE(second.ok()) << second.errors.front();
    EXPECT_EQ(tree(desktop.root.path()), afterFirst);

    // Every design type is ours; the user's other programs stay behind ours.
    std::string defaults = "[Default Applications]\n"
                           "application/x-tajima-dst=loomscope.desktop;old-viewer.desktop;\n"
                           "text/plain=gedit.desktop;\n";
    std::string added = "[Added Associations]\napplication/x-tajima-dst=loomscope.desktop;\n";
    for (const DesignMimeType& t : kOtherDesignTypes) {
        defaults += std::string(t.type) + "=loomscope.desktop;\n";
        added += std::string(t.type) + "=loomscope.desktop;\n";
    }
    EXPECT_EQ(readText(desktop.config("mimeapps.list")), defaults + "\n" + added);
    EXPECT_EQ(readText(desktop.config("gnome-mimeapps.list")),
              "[Default Applications]\napplication/x-dst=loomscope.desktop;old-viewer.desktop;\n");
    EXPECT_EQ(readText(desktop.data("applications/loomscope.desktop")), desktopEntryText(program));
    EXPECT_EQ(readText(desktop.data("icons/hicolor/48x48/apps/loomscope.png")), "\1\2\3");
    EXPECT_TRUE(fileExists(desktop.data("icons/hicolor/scalable/mimetypes/"
                                        "application-x-tajima-dst.svg")));
    // The databases were refreshed on each run; where the tool is installed the type is known.
    EXPECT_EQ(desktop.toolRuns.size(), 4u);
    EXPECT_EQ(desktop.toolRuns[0],
              (std::vector<std::string>{"update-mime-database", desktop.data("mime")}));
    if (findProgram("update-mime-database")) {
        EXPECT_NE(readText(desktop.data("mime/globs2")).find("application/x-tajima-dst:*.dst"),
                  std::string::npos);
        EXPECT_NE(readText(desktop.data("mime/globs2")).find("application/x-embroidery-pes:*.pes"),
                  std::string::npos);
        EXPECT_NE(readText(desktop.data("mime/aliases")).find("application/x-dst"),
                  std::string::npos);
    }
}

TEST(Association, AFailedStepIsReportedKeepsWhatWasWrittenAndStillRefreshes)
{
    Desktop desktop;
    // The configuration folder is a file: no mimeapps.list can be written, not even by root.
    writeText(desktop.root.file("config"), "not a folder");
    IntegrationOutcome outcome = associateDstFiles(desktop.setup("/bin/sh"));
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_NE(outcome.errors[0].find(desktop.root.file("config")), std::string::npos)
        << outcome.errors[0];
    EXPECT_TRUE(fileExists(desktop.data("applications/loomscope.desktop")));
    EXPECT_TRUE(fileExists(desktop.data("mime/packages/loomscope.xml")));
    ASSERT_EQ(desktop.toolRuns.size(), 2u);
    EXPECT_EQ(desktop.toolRuns[1],
              (std::vector<std::string>{"update-desktop-database", desktop.data("applications")}));

    // A program whose path GLib would not load is refused before anything is written.
    Desktop percent;
    const std::string odd = percent.root.file("100%") + "/loomscope";
    writeText(odd, "#!/bin/sh\n");
    ::chmod(odd.c_str(), 0755);
    outcome = associateDstFiles(percent.setup(odd));
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_EQ(outcome.errors[0], "程序路径含有不能写进桌面文件的字符");
    EXPECT_FALSE(fs::exists(percent.data("applications/loomscope.desktop")));

    // A program that is not there is not written into an entry at all.
    Desktop fresh;
    outcome = associateDstFiles(fresh.setup(fresh.root.file("no-such-program")));
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_FALSE(fs::exists(fresh.data("applications")));
}

TEST(Association, AnAliasThatAnotherPackageDefinesIsLeftToIt)
{
    Desktop desktop;
    writeText(desktop.root.file("system") + "/mime/packages/embroidery.xml",
              "<mime-info><mime-type\n  type=\"application/x-dst\"><comment>x</comment>"
              "</mime-type><mime-type type='text/x-other'><alias type=\"application/"
              "x-embroidery-dst\"/></mime-type></mime-info>");
    EXPECT_EQ(harmlessAliases(desktop.setup().environment),
              (std::vector<std::string>{"application/x-embroidery-dst"}));
}

TEST(Thumbnailer, RegisteredWhereItCanRunAndFailedRecordsOfDstFilesCleared)
{
    Desktop desktop;
    testsupport::TempDir bin;
    const std::string program = bin.file("loomscope");
    writeText(program, "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);

    // GNOME's sandbox sees only /usr: a program elsewhere is refused with a reason.
    IntegrationSetup setup = desktop.setup(program);
    setup.environment.currentDesktop = "ubuntu:GNOME";
    IntegrationOutcome outcome = registerDstThumbnailer(setup);
    ASSERT_EQ(outcome.errors.size(), 1u);
    EXPECT_NE(outcome.errors[0].find("/usr"), std::string::npos);
    EXPECT_FALSE(fileExists(desktop.data("thumbnailers/loomscope.thumbnailer")));

    const std::string fail =
        desktop.root.file("cache") + "/thumbnails/fail/gnome-thumbnail-factory/";
    writeText(fail + "a.png", thumbnailRecord("file:///home/u/%E8%8A%B1/ROSE.DST"));
    writeText(fail + "b.png", thumbnailRecord("file:///home/u/photo.jpg"));
    writeText(fail + "c.png", thumbnailRecord("file:///home/u/rose.dst.jpg"));
    setup.environment.currentDesktop = "XFCE";
    outcome = registerDstThumbnailer(setup);
    ASSERT_TRUE(outcome.ok()) << outcome.errors.front();
    EXPECT_EQ(readText(desktop.data("thumbnailers/loomscope.thumbnailer")),
              thumbnailerText(program));
    EXPECT_TRUE(fileExists(desktop.data("mime/packages/loomscope.xml"))); // the type it needs
    EXPECT_FALSE(fileExists(fail + "a.png"));
    EXPECT_TRUE(fileExists(fail + "b.png"));
    EXPECT_TRUE(fileExists(fail + "c.png"));

    // Removing it leaves a system-wide one in place, and says so.
    writeText(desktop.root.file("system") + "/thumbnailers/loomscope.thumbnailer", "x");
    outcome = unregisterDstThumbnailer(setup);
    EXPECT_TRUE(outcome.ok());
    EXPECT_FALSE(fileExists(desktop.data("thumbnailers/loomscope.thumbnailer")));
    ASSERT_EQ(outcome.notices.size(), 1u);
    EXPECT_TRUE(unregisterDstThumbnailer(setup).ok()); // nothing left to remove is no failure

    // A program that is not there is a missing plug-in.
    outcome = registerDstThumbnailer(desktop.setup(bin.file("missing")));
    ASSERT_EQ(outcome.errors, std::vector<std::string>{"没找到dst缩图插件"});
}

TEST(Thumbnailer, ExecLineRunAsAFileManagerRunsItWritesAPng)
{
    // A program folder with a blank and a dollar sign, as the quoting must survive them.
    testsupport::TempDir dir;
    const std::string folder = dir.file("Loom $cope");
    fs::create_directories(folder);
    fs::create_symlink(LOOMSCOPE_BINARY, folder + "/loomscope");
    std::string exec;
    {
        const std::string text = thumbnailerText(folder + "/loomscope");
        const auto at = text.find("\nExec=") + 6;
        exec = text.substr(at, text.find('\n', at) - at);
    }
    // Undo the string-value escapes, then put in the values quoted for a shell, as the
    // file managers' g_shell_quote does before splitting the line.
    std::string line;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size() && exec[i + 1] == '\\') {
            line += '\\';
            ++i;
        } else {
            line += exec[i];
        }
    }
    const std::string input = std::string(LOOMSCOPE_SOURCE_DIR) + "/data/samples/rose-badge.dst";
    const std::string output = dir.file("out put.png");
    for (const auto& [code, value] : {std::pair{"%s", std::string("128")},
                                      {"%i", shellQuoted(input)},
                                      {"%o", shellQuoted(output)}})
        line.replace(line.find(code), 2, value);
    const auto [status, printed] = shell(line);
    if (status != 0 && printed.find("usage:") != std::string::npos)
        GTEST_SKIP() << "this build of the program has no --thumbnail mode yet";
    ASSERT_EQ(status, 0) << line << "\n" << printed;
    const std::string png = readText(output);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST(SiblingPlugins, MissingOnesGiveTheirMessageFoundOnesAreStartedToRegister)
{
    Desktop desktop;
    IntegrationSetup setup = desktop.setup();
    IntegrationOutcome outcome = registerSiblingPlugin(setup, SiblingPlugin::DstProperties, true);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{"没找到dst属性页插件"});
    EXPECT_TRUE(desktop.toolRuns.empty());
    outcome = registerSiblingPlugin(setup, SiblingPlugin::EmbThumbnails, false);
    EXPECT_EQ(outcome.errors, std::vector<std::string>{"没找到emb缩图插件"});

    fs::create_directories(setup.programHome);
    const std::string plugin = setup.programHome + "loomscope-props";
    const std::string log = desktop.root.file("plugin.log");
    writeText(plugin, "#!/bin/sh\necho \"$@\" > " + shellQuoted(log) + "\n");
    ::chmod(plugin.c_str(), 0755);
    outcome = registerSiblingPlugin(setup, SiblingPlugin::DstProperties, true);
    EXPECT_TRUE(outcome.ok());
    for (int i = 0; i < 200 && readText(log).empty(); ++i)
        ::usleep(10000);
    EXPECT_EQ(readText(log), "--register\n");
}
