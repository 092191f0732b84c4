// `loomscope --info`: what it prints and how it fails, in-process and as a real process.
#include "cli/infocommand.h"
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "testenv.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

struct InfoRun {
    int status = 0;
    std::string out;
    std::string err;
};

InfoRun info(const std::string& path)
{
    std::ostringstream out, err;
    InfoRun run;
    run.status = runInfoCommand(path, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::uint8_t> twoColourDesign()
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(853, 0).stitchTo(853, 1000).colourChange();
    b.stitch(0, 0).stitchTo(400, 500).jumpBy(10, 10);
    return b.fullyReadFile();
}

} // namespace

TEST(InfoCommand, PrintsTheDesignAsJson)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("rose.dst"), twoColourDesign());
    const InfoRun run = info(dir.file("rose.dst"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("{\"name\":\"rose\",\"format\":\"dst\",\"stitches\":"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"colors\":2,\"sequins\":0,\"width_mm\":85.3,\"height_mm\":100,"
                           "\"width_inch\":3.358,\"height_inch\":3.937,\"colorcard\":\"default\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"colortable\":[\"#00FF00\",\"#0000FF\"]"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("{\"colorindex\":1,"), std::string::npos);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST(InfoCommand, AFileTooShortForADesignIsAFailureNotZeros)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("broken.dst"), std::vector<std::uint8_t>(100, 0));
    const InfoRun run = info(dir.file("broken.dst"));
    EXPECT_EQ(run.status, 2); // a bad design, as for the other tools
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("too short"), std::string::npos) << run.err;
}

TEST(InfoCommand, AppliesTheSideFile)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("rose.DST"), twoColourDesign());
    const std::vector<TColor> colours = {0x0000FF, 0x112233};
    const std::vector<std::string> names = {"Rot \"1\"", "蓝"};
    ASSERT_EQ(writecolorfile(dir.file("rose.lsc"), "Madeira", colours, names), "");
    const InfoRun run = info(dir.file("rose.DST"));
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"colorcard\":\"Madeira\""), std::string::npos);
    EXPECT_NE(run.out.find("\"color\":\"#FF0000\",\"colorname\":\"Rot \\\"1\\\"\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"colorname\":\"蓝\""), std::string::npos);
    EXPECT_NE(run.out.find("\"colortable\":[\"#FF0000\",\"#332211\"]"), std::string::npos);
}

TEST(InfoCommand, FailsClearly)
{
    testsupport::TempDir dir;
    InfoRun missing = info(dir.file("none.dst"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.dst"), std::string::npos);
    EXPECT_EQ(missing.out, "");

    testsupport::writeFile(dir.file("rose.txt"), twoColourDesign());
    EXPECT_EQ(info(dir.file("rose.txt")).status, 2);

    testsupport::writeFile(dir.file("rose.dst"), twoColourDesign());
    auto side = encodeColorSequence("C", std::vector<TColor>{1, 2}, {});
    side[5] = 3;
    side.resize(side.size() - 10);
    testsupport::writeFile(dir.file("rose.lsc"), side);
    // A side file cut short: said on standard error, and the design is reported in the
    // palette's colours, as the view and the thumbnails show it.
    const InfoRun broken = info(dir.file("rose.dst"));
    EXPECT_EQ(broken.status, 0);
    EXPECT_NE(broken.err.find("rose.lsc: Stream read error"), std::string::npos) << broken.err;
    EXPECT_NE(broken.out.find("\"colors\":2"), std::string::npos);
}

TEST(InfoCommand, RunsAsAProcessWithoutADisplay)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("rose.dst"), twoColourDesign());
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(LOOMSCOPE_BINARY) + " --info '" + dir.file("rose.dst") +
                                "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;
    EXPECT_EQ(out.rfind("{\"name\":\"rose\"", 0), 0u) << out;

    const std::string bad = std::string(LOOMSCOPE_BINARY) + " --info /no/such.dst 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(system(bad.c_str())), 2);
}

namespace {
struct ProcessRun {
    int status = -1;
    std::string out;
};
// Runs the program with `arguments` (already quoted for the shell), no display, standard error
// joined to the output.
ProcessRun runProgram(const std::string& arguments)
{
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY LD_DEBUG= " + std::string(LOOMSCOPE_BINARY) + ' ' +
        arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ProcessRun run;
    if (!pipe)
        return run;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    run.status = WEXITSTATUS(pclose(pipe));
    return run;
}
} // namespace

TEST(CommandLine, HelpVersionAndUnknownOptionsFollowTheConventions)
{
    const ProcessRun help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* mode : {"loomscope [PATH]", "--info PATH", "--export PATH OUT.jpg"})
        EXPECT_NE(help.out.find(mode), std::string::npos) << mode;
    const ProcessRun version = runProgram("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "LoomScope 4.0\n");
    const ProcessRun unknown = runProgram("--frobnicate x.dst");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.out.find("unknown option --frobnicate"), std::string::npos);
    EXPECT_NE(unknown.out.find("usage:"), std::string::npos);
    EXPECT_EQ(runProgram("--info").status, 2);
    EXPECT_EQ(runProgram("-x").status, 2); // not a design called "-x"
    EXPECT_EQ(runProgram("-h").status, 0);
}

TEST(CommandLine, ToolsThatNeedNoWindowLoadNoGuiLibrary)
{
    // A file manager starts the program once per file: its tools must not pay for Qt.
    const std::string command = "ldd " + std::string(LOOMSCOPE_BINARY) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string libraries;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        libraries.append(buffer, n);
    pclose(pipe);
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libGL"), std::string::npos) << libraries;
}
