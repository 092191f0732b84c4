// The one file writer every output goes through, and the guard that keeps the tools from
// writing over what they read. Failed writes are made to fail by a file-size limit, never by
// permissions alone: the suite also runs as root, who may write anything.
#include "model/fileio.h"
#include "model/outputguard.h"
#include "testenv.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace loomscope;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string textOf(const std::string& path)
{
    const auto b = testsupport::readFile(path);
    return {b.begin(), b.end()};
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

std::size_t entriesIn(const testsupport::TempDir& dir)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                  std::filesystem::directory_iterator()));
}

// Every write of this process larger than `bytes` fails with EFBIG while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(FileWriter, NewFilesTakeTheUmaskWithoutItBeingChangedAndReplacedFilesKeepTheirMode)
{
    testsupport::TempDir dir;
    for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
        const mode_t before = ::umask(mask);
        const std::string path = dir.file("new" + std::to_string(mask));
        EXPECT_EQ(writeFileAtomically(path, bytesOf("abc")), "");
        EXPECT_EQ(::umask(before), mask) << "the process's umask was changed";
        EXPECT_EQ(modeOf(path) & 0777, 0666 & ~mask);
    }
    const std::string kept = dir.file("kept");
    testsupport::writeFile(kept, {1});
    ::chmod(kept.c_str(), 0640);
    EXPECT_EQ(writeFileAtomically(kept, bytesOf("new")), "");
    EXPECT_EQ(modeOf(kept) & 0777, 0640u);
    EXPECT_EQ(textOf(kept), "new");
    EXPECT_EQ(entriesIn(dir), 3u) << "no temporary file is left behind";
}

TEST(FileWriter, WritesThroughSymbolicLinksToTheFileTheyName)
{
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.path() / "real");
    testsupport::writeFile(dir.file("real/target.txt"), {'o', 'l', 'd'});
    std::filesystem::create_symlink("real/target.txt", dir.path() / "link.txt");
    std::filesystem::create_symlink("link.txt", dir.path() / "link2.txt"); // a chain
    ASSERT_EQ(writeFileAtomically(dir.file("link2.txt"), bytesOf("new")), "");
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link.txt"))));
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link2.txt"))));
    EXPECT_EQ(textOf(dir.file("real/target.txt")), "new");

    // A link to a file not made yet makes that file.
    std::filesystem::create_symlink("real/later.txt", dir.path() / "dangling.txt");
    ASSERT_EQ(writeFileAtomically(dir.file("dangling.txt"), bytesOf("made")), "");
    EXPECT_EQ(textOf(dir.file("real/later.txt")), "made");
    EXPECT_TRUE(S_ISLNK(modeOf(dir.file("dangling.txt"))));

    std::filesystem::create_symlink("loop.txt", dir.path() / "loop.txt");
    EXPECT_NE(writeFileAtomically(dir.file("loop.txt"), bytesOf("x")), "");
}

TEST(FileWriter, AFailedWriteIsReportedAndLeavesTheFileAsItWas)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("config.ini");
    testsupport::writeFile(path, {'o', 'l', 'd'});

    // Read-only: refused, even for root, and said in words.
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(writeFileAtomically(path, bytesOf("new")), "The file is read-only.");
    EXPECT_EQ(writeFileInPlace(path, bytesOf("new")), "The file is read-only.");
    EXPECT_EQ(textOf(path), "old");
    ::chmod(path.c_str(), 0644);

    // A disk that fills up (here a file-size limit) fails the write, whoever runs it.
    {
        FileSizeLimit limit(16);
        EXPECT_NE(writeFileAtomically(path, bytesOf(std::string(4096, 'x'))), "");
    }
    EXPECT_EQ(textOf(path), "old");
    EXPECT_EQ(entriesIn(dir), 1u) << "the temporary file is removed";

    EXPECT_NE(writeFileAtomically(dir.file("no/such/folder/x"), bytesOf("x")), "");
    EXPECT_NE(writeFileAtomically(dir.path().string(), bytesOf("x")), "");
}

TEST(FileWriter, InPlaceKeepsTheFileThatAnotherProgramHoldsOpen)
{
    // A thumbnail service creates the file, hands its name over and reads back through the
    // descriptor it kept.
    testsupport::TempDir dir;
    const std::string path = dir.file("thumb.png");
    testsupport::writeFile(path, {});
    const int held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(writeFileInPlace(path, bytesOf("picture")), "");
    char back[16] = {};
    EXPECT_EQ(::pread(held, back, sizeof back, 0), 7);
    EXPECT_STREQ(back, "picture");
    ::close(held);
    // A file with something in it is replaced whole, never left cut short by a failed write.
    ASSERT_EQ(writeFileInPlace(path, bytesOf("pic")), "");
    EXPECT_EQ(textOf(path), "pic");
    {
        FileSizeLimit limit(2);
        EXPECT_NE(writeFileInPlace(path, bytesOf("a longer picture")), "");
    }
    EXPECT_EQ(textOf(path), "pic");
    // Where nothing is there yet, it is made as any other file.
    ASSERT_EQ(writeFileInPlace(dir.file("new.png"), bytesOf("n")), "");
    EXPECT_EQ(textOf(dir.file("new.png")), "n");
}

TEST(FileReader, SpecialFilesAreRefusedWithoutWaiting)
{
    testsupport::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.dst").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("pipe.dst"), std::string("/dev/zero")}) {
        const FileBytes read = readWholeFile(path, 1 << 20);
        EXPECT_EQ(read.error, "It is not a regular file.") << path;
        EXPECT_TRUE(read.bytes.empty());
    }
}

TEST(OutputGuard, AnOutputIsTheSameFileAsAnInputByInodeOrByResolvedPath)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path().string() + '/';
    testsupport::writeFile(folder + "ROSE.DST", {1, 2, 3});
    testsupport::writeFile(folder + "ROSE.LSC", {4});
    std::filesystem::create_hard_link(folder + "ROSE.DST", folder + "hard.dst");
    std::filesystem::create_symlink("ROSE.DST", folder + "soft.dst");
    std::filesystem::create_directory(folder + "sub");
    std::filesystem::create_directory_symlink(folder + "sub", folder + "alias");

    const ToolInputs inputs = designInputs(folder + "ROSE.DST", {folder + "config.ini"});
    EXPECT_EQ(inputs.sideFile, folder + "ROSE.LSC"); // the side file as it is spelt
    const struct {
        std::string output;
        bool refused;
    } cases[] = {
        {folder + "ROSE.DST", true},
        {folder + "sub/../ROSE.DST", true},
        {folder + "hard.dst", true},
        {folder + "soft.dst", true},
        {folder + "ROSE.LSC", true},
        {folder + "rose.dst", false}, // another name here, however Windows would see it
        {folder + "ROSE.jpg", false},
        {folder + "alias/x.jpg", false},
        {folder + "config.ini", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overwrittenInput(c.output, inputs).has_value(), c.refused) << c.output;

    // Neither exists: the same place by another spelling of its folder.
    EXPECT_TRUE(isSameFile(folder + "alias/new.lsc", folder + "sub/new.lsc"));
    EXPECT_FALSE(isSameFile(folder + "alias/new.lsc", folder + "sub/other.lsc"));
    // A design without a side file: no output may take any spelling of its side file's name,
    // which the design would read as its colours the next time it is opened.
    const ToolInputs bare = designInputs(folder + "hard.dst");
    EXPECT_FALSE(bare.sideFile);
    for (const char* name : {"hard.lsc", "HARD.LSC", "Hard.Lsc", "alias/../hard.LSC"})
        EXPECT_EQ(overwrittenInput(folder + name, bare), folder + "hard.lsc") << name;
    EXPECT_FALSE(overwrittenInput(folder + "sub/hard.lsc", bare));
    EXPECT_FALSE(overwrittenInput(folder + "hard.lsc.png", bare));
    // No output replaces another design or side file either: a picture named rose-badge.dst
    // by mistake would end up billed as a design.
    testsupport::writeFile(folder + "sub/other.DST", {7});
    testsupport::writeFile(folder + "sub/other.lsc", {8});
    EXPECT_EQ(overwrittenInput(folder + "sub/other.DST", bare), folder + "sub/other.DST");
    EXPECT_EQ(overwrittenInput(folder + "sub/other.lsc", bare), folder + "sub/other.lsc");
    EXPECT_FALSE(overwrittenInput(folder + "sub/new.dst", bare)); // nothing there to lose

    const std::string message = overwriteRefusal(folder + "hard.dst", folder + "ROSE.DST");
    EXPECT_NE(message.find("hard.dst"), std::string::npos);
    EXPECT_NE(message.find("ROSE.DST"), std::string::npos);
}
