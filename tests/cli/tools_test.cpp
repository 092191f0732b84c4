// The command-line tools as scripts run them: as processes, with the bytes of the names given.
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/numberformat.h"
#include "testenv.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using loomscope::tools::DstBuilder;
namespace testsupport = loomscope::testsupport;
namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int status = -1;
    std::string err;
};

// Runs the program with exactly these arguments (no shell, so no name is re-encoded) and
// collects its standard error.
ProgramRun runProgram(const std::vector<std::string>& args)
{
    std::vector<char*> argv{const_cast<char*>(LOOMSCOPE_BINARY)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, LOOMSCOPE_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    ProgramRun run;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        run.err.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    if (spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

std::vector<std::uint8_t> design()
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(300, 0, 20).stitchTo(300, 200, 20).colourChange().stitchTo(0, 0, 20);
    b.jumpBy(0, 0);
    return b.fullyReadFile();
}

std::string homeConfig()
{
    return std::string(std::getenv("LOOMSCOPE_HOME")) + "/config.ini";
}

} // namespace

TEST(CommandLineTools, NoToolWritesOverItsDesignItsSideFileOrConfigIni)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + '/';
    testsupport::writeFile(folder + "ROSE.DST", design());
    testsupport::writeFile(folder + "ROSE.LSC", {'s', 'i', 'd', 'e'});
    fs::create_hard_link(folder + "ROSE.DST", folder + "linked.pdf");
    fs::create_directories(fs::path(homeConfig()).parent_path());
    testsupport::writeFile(homeConfig(), {'[', 'x', ']', '\n'});
    const std::string d = folder + "ROSE.DST";

    struct Case {
        std::vector<std::string> args;
        std::string victim; // the input the output names
    };
    std::vector<Case> cases;
    for (const std::string& out : {d, folder + "ROSE.LSC", folder + "linked.pdf", homeConfig()}) {
        const std::string victim = out == folder + "linked.pdf" ? d : out;
        cases.push_back({{"--export", d, out}, victim});
        cases.push_back({{"--worksheet", d, out}, victim});
        cases.push_back({{"--thumbnail", d, out}, victim});
        cases.push_back({{"--price-report", folder, "-o", out}, victim});
    }
    const auto before = [&] {
        return std::vector{testsupport::readFile(d), testsupport::readFile(folder + "ROSE.LSC"),
                           testsupport::readFile(homeConfig())};
    }();
    for (const Case& c : cases) {
        const ProgramRun r = runProgram(c.args);
        const std::string what = c.args[0] + " -> " + c.args.back();
        EXPECT_EQ(r.status, 2) << what << '\n' << r.err;
        EXPECT_NE(r.err.find(c.args.back()), std::string::npos) << what << '\n' << r.err;
        EXPECT_NE(r.err.find(c.victim), std::string::npos) << what << '\n' << r.err;
        EXPECT_NE(r.err.find("not written over"), std::string::npos) << what << '\n' << r.err;
    }
    EXPECT_EQ(before[0], testsupport::readFile(d));
    EXPECT_EQ(before[1], testsupport::readFile(folder + "ROSE.LSC"));
    EXPECT_EQ(before[2], testsupport::readFile(homeConfig()));
}

TEST(CommandLineTools, OutputNamesAreWrittenWithTheBytesGiven)
{
    // 玫瑰 in code page 936, as archives from Chinese Windows systems name files.
    const std::string rose = "\xC3\xB5\xB9\xE5";
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + '/';
    testsupport::writeFile(folder + rose + ".dst", design());
    const std::string d = folder + rose + ".dst";
    const struct {
        std::vector<std::string> args;
        std::string output;
    } cases[] = {
        {{"--export", d, folder + rose + ".jpg"}, rose + ".jpg"},
        {{"--worksheet", d, folder + rose + ".pdf"}, rose + ".pdf"},
        {{"--thumbnail", d, folder + rose + ".png"}, rose + ".png"},
        {{"--price-report", folder, "-o", folder + rose + ".txt"}, rose + ".txt"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runProgram(c.args);
        EXPECT_EQ(r.status, 0) << c.args[0] << '\n' << r.err;
        EXPECT_TRUE(fs::is_regular_file(folder + c.output)) << c.args[0];
        EXPECT_GT(testsupport::readFile(folder + c.output).size(), 20u) << c.args[0];
    }
    // Nothing else was made: no name with replacement characters beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 5);
}

namespace {

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// A binary PPM as pdftoppm writes it.
std::optional<Ppm> readPpm(const std::string& path)
{
    const auto bytes = testsupport::readFile(path);
    const std::string text(bytes.begin(), bytes.end());
    Ppm p;
    int maxValue = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &p.width, &p.height, &maxValue, &used) != 3 ||
        maxValue != 255)
        return std::nullopt;
    const std::size_t start = static_cast<std::size_t>(used) + 1;
    const std::size_t size = std::size_t(p.width) * p.height * 3;
    if (bytes.size() < start + size)
        return std::nullopt;
    p.rgb.assign(bytes.begin() + static_cast<long>(start),
                 bytes.begin() + static_cast<long>(start + size));
    return p;
}

std::string commandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

} // namespace

TEST(CommandLineTools, AnActualSizeWorksheetPrintsAMillimetreOfDesignOnAMillimetreOfPaper)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // A frame of 100 x 60 mm in green, a colour nothing else on the page has.
    DstBuilder b;
    b.stitch(0, 0).stitchTo(1000, 0, 50).stitchTo(1000, 600, 50).stitchTo(0, 600, 50);
    b.stitchTo(0, 0, 50).jumpBy(0, 0);
    testsupport::TempDir dir;
    const std::string design = dir.file("goldfish.dst");
    testsupport::writeFile(design, b.fullyReadFile());
    testsupport::writeFile(dir.file("goldfish.lsc"),
                           loomscope::encodeColorSequence("Card",
                                                          std::vector<loomscope::TColor>{0x00A000},
                                                          std::vector<std::string>{"green"}));
    const std::string info =
        commandOutput(std::string(LOOMSCOPE_BINARY) + " --info '" + design + "'");
    ASSERT_NE(info.find("\"width_mm\":100,\"height_mm\":60"), std::string::npos) << info;

    const std::string pdf = dir.file("goldfish.pdf");
    const ProgramRun r = runProgram({"--worksheet", design, pdf});
    ASSERT_EQ(r.status, 0) << r.err;
    // 254 dots per inch: ten pixels a millimetre; no smoothing, so a hairline is one pixel.
    ASSERT_EQ(
        std::system(("pdftoppm -r 254 -aa no -aaVector no '" + pdf + "' '" + dir.file("page") + "'")
                        .c_str()),
        0);
    const auto page = readPpm(dir.file("page-1.ppm"));
    ASSERT_TRUE(page);
    int left = page->width, right = -1, top = page->height, bottom = -1;
    for (int y = 0; y < page->height; ++y)
        for (int x = 0; x < page->width; ++x) {
            const std::uint8_t* p = &page->rgb[(std::size_t(y) * page->width + x) * 3];
            if (p[1] > p[0] + 60 && p[1] > p[2] + 60 && y < page->height * 0.85) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    ASSERT_GT(right, left);
    EXPECT_NEAR((right - left) / 10.0, 100, 1.0);
    EXPECT_NEAR((bottom - top) / 10.0, 60, 0.6);

    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        const std::string text = commandOutput("pdftotext '" + pdf + "' -");
        const std::string one = std::string("1") + loomscope::environmentDecimalSeparator() + "00";
        EXPECT_NE(text.find(one), std::string::npos) << "the Scale line says actual size\n" << text;
        // The name is found as typed: no "fi" ligature in its place.
        EXPECT_NE(text.find("goldfish"), std::string::npos) << text;
    }
}

TEST(CommandLineTools, SpecialFilesAreRefusedAtOnceWithAReason)
{
    testsupport::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.dst").c_str(), 0600), 0); // nobody ever writes to it
    for (const std::string& in : {dir.file("pipe.dst"), std::string("/dev/zero")}) {
        const ProgramRun r = runProgram({"--thumbnail", in, dir.file("out.png")});
        EXPECT_EQ(r.status, 2) << in;
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Success"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.file("out.png")));
    }
}
