// The command-line tools as scripts run them: as processes, with the bytes of the names given.
#include "dstbuilder.h"
#include "testenv.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
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
    const int spawned = posix_spawn(&pid, LOOMSCOPE_BINARY, &actions, nullptr, argv.data(), environ);
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
