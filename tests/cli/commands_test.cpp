// The two command-line tools of the browser: --thumbnail as a file manager runs it and
// --price-report as a script runs it.
#include "cli/pricereportcommand.h"
#include "cli/thumbnailcommand.h"
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/fileio.h"
#include "model/palette.h"
#include "pngcheck.h"
#include "testenv.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// A filled rectangle of `w` x `h` units in one colour: rows of stitches 10 units apart.
std::vector<std::uint8_t> block(int w, int h)
{
    DstBuilder b;
    b.stitch(0, 0);
    for (int y = 0; y <= h; y += 10)
        b.stitchTo(b.x() == 0 ? w : 0, y, 50);
    b.jumpBy(0, 0);
    return b.fullyReadFile();
}

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun thumbnail(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = runThumbnailCommand(args, out, err);
    return {status, out.str(), err.str()};
}

CommandRun priceReport(const std::vector<std::string>& args, char separator = '.')
{
    std::ostringstream out, err;
    const int status = runPriceReportCommand(args, out, err, separator);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(ThumbnailCommand, WritesATransparentPngOfTheAskedSizeWhateverTheInputIsCalled)
{
    testsupport::TempDir dir;
    // File managers hand over a copy with a made-up name, without the extension.
    testsupport::writeFile(dir.file("gnome-thumbnail-XYZ123"), block(400, 200));
    const CommandRun r =
        thumbnail({"-s", "128", dir.file("gnome-thumbnail-XYZ123"), dir.file("t.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string why;
    const auto png = testsupport::decodePng(testsupport::readFile(dir.file("t.png")), &why);
    ASSERT_TRUE(png) << why;
    EXPECT_EQ(png->width, 128);
    EXPECT_EQ(png->height, 64);
    int opaque = 0;
    int clear = 0;
    for (int y = 0; y < png->height; ++y)
        for (int x = 0; x < png->width; ++x) {
            opaque += png->at(x, y, 3) == 255;
            clear += png->at(x, y, 3) == 0;
        }
    EXPECT_GT(opaque, 100);
    EXPECT_GT(clear, 100) << "the ground between the rows is transparent";

    // The default is 256, and more than 1024 is 1024.
    ASSERT_EQ(thumbnail({dir.file("gnome-thumbnail-XYZ123"), dir.file("d.png")}).status, 0);
    EXPECT_EQ(testsupport::decodePng(testsupport::readFile(dir.file("d.png")))->width, 256);
    ASSERT_EQ(
        thumbnail({"-s", "4096", dir.file("gnome-thumbnail-XYZ123"), dir.file("l.png")}).status, 0);
    EXPECT_EQ(testsupport::decodePng(testsupport::readFile(dir.file("l.png")))->width, 1024);
}

TEST(ThumbnailCommand, AppliesTheSideFileBesideTheDesign)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("rose.DST"), block(200, 200));
    const TColor thread = rgb(20, 180, 60);
    testsupport::writeFile(dir.file("rose.lsc"),
                           encodeColorSequence("Card", std::vector<TColor>{thread},
                                               std::vector<std::string>{"green"}));
    ASSERT_EQ(thumbnail({"-s", "64", dir.file("rose.DST"), dir.file("r.png")}).status, 0);
    const auto png = testsupport::decodePng(testsupport::readFile(dir.file("r.png")));
    ASSERT_TRUE(png);
    // The most covered pixel shows the thread colour (alpha undone, so within rounding).
    int bx = 0, by = 0;
    for (int y = 0; y < png->height; ++y)
        for (int x = 0; x < png->width; ++x)
            if (png->at(x, y, 3) > png->at(bx, by, 3)) {
                bx = x;
                by = y;
            }
    ASSERT_GT(png->at(bx, by, 3), 128);
    EXPECT_NEAR(png->at(bx, by, 0), 20, 2);
    EXPECT_NEAR(png->at(bx, by, 1), 180, 2);
    EXPECT_NEAR(png->at(bx, by, 2), 60, 2);
}

TEST(ThumbnailCommand, FailuresLeaveNoOutputFile)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("short.dst"), std::vector<std::uint8_t>(300, 1));
    testsupport::writeFile(dir.file("good.dst"), block(100, 100));

    // A design that cannot be read is status 2, as for every tool.
    CommandRun r = thumbnail({dir.file("missing.dst"), dir.file("a.png")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.dst: there is no such file"), std::string::npos) << r.err;
    r = thumbnail({dir.file("short.dst"), dir.file("a.png")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("short.dst"), std::string::npos);
    r = thumbnail({dir.file("good.dst"), dir.file("no/such/folder/a.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.png")));

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{dir.file("good.dst")},
          {"-s", "0", dir.file("good.dst"), dir.file("a.png")},
          {"-s", "big", dir.file("good.dst"), dir.file("a.png")},
          {"-s"},
          {"--frobnicate", dir.file("good.dst"), dir.file("a.png")}}) {
        r = thumbnail(bad);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.png")));
}

TEST(PriceReportCommand, ReportsTheFolderInFileManagerOrderWithItsRealNames)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("b10.dst"), block(853, 400));
    testsupport::writeFile(dir.file("B2.DST"), block(100, 100));
    testsupport::writeFile(dir.file("rose.spring.dst"), block(200, 100));
    testsupport::writeFile(dir.file("notes.txt"), {'x'});
    // A design of another format under the same name: both rows keep their extension.
    testsupport::writeFile(dir.file("b10.exp"), {5, 5});
    const CommandRun r = priceReport({dir.path().string(), "--start", "10", "--fee", "2.5",
                                      "--range", "10:100000:1", "--range", "30:40:9"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream text(r.out);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(text, line))
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_NE(rows[0].find(dir.path().string() + "/\r"), std::string::npos);
    EXPECT_EQ(rows[4].rfind("1     B2 ", 0), 0u) << rows[4];
    EXPECT_EQ(rows[5].rfind("2     b10.dst ", 0), 0u) << rows[5];
    EXPECT_NE(rows[5].find("85.3 * 40"), std::string::npos) << rows[5];
    EXPECT_EQ(rows[6].rfind("3     b10.exp ", 0), 0u) << rows[6];
    EXPECT_EQ(rows[7].rfind("4     rose.spring ", 0), 0u) << rows[7];
    EXPECT_EQ(rows[9].rfind("数量：4 ", 0), 0u);
}

TEST(PriceReportCommand, WritesTheFileAtomicallyAndRefusesBadInput)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("a.dst"), block(100, 100));
    const std::string report = dir.file("total.txt");
    CommandRun r = priceReport({dir.path().string(), "--range", "0:99999:0,5", "-o", report}, ',');
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const auto bytes = testsupport::readFile(report);
    const std::string written(bytes.begin(), bytes.end());
    EXPECT_NE(written.find("0,5"), std::string::npos);
    EXPECT_EQ(written, priceReport({dir.path().string(), "--range", "0:99999:0.5"}, ',').out);

    r = priceReport({dir.path().string(), "--start", "12x"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "'12x' is not a valid integer value\n");
    EXPECT_EQ(r.out, "");
    r = priceReport({dir.path().string(), "--range", "0:99999:1..5", "-o", dir.file("x.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "'1..5' is not a valid floating point value\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.txt")));

    for (const std::vector<std::string>& bad : {std::vector<std::string>{dir.file("nowhere")},
                                                {dir.path().string(), "--range", "1:2"},
                                                {dir.path().string(), "--range", "0:1:1", "--range",
                                                 "0:1:1", "--range", "0:1:1", "--range", "0:1:1"},
                                                {dir.path().string(), "--fee"},
                                                {}}) {
        r = priceReport(bad);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage"), std::string::npos);
    }

    // A report that cannot be written says so and exits 1.
    r = priceReport({dir.path().string(), "-o", dir.file("missing/total.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing/total.txt"), std::string::npos);
}
