// The thumbnail drawer: the list's 100 x 100 pictures pixel by pixel, side-file colours, and
// the file manager's antialiased pictures with their size, ground and bounded work.
#include "browser/pixelcanvas.h"
#include "browser/pngwriter.h"
#include "browser/thumbnaildrawing.h"
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/folderlist.h"
#include "model/palette.h"
#include "pngcheck.h"
#include "testenv.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

constexpr TColor kWhite = 0xFFFFFF;

// Two blocks, every record read:
//   block 1 (colour 0): (0,0) (100,0) (100,100) and its closing jump at (100,100);
//   block 2 (colour 1, after a colour change): (0,100) (0,60) (30,60) and its closing jump.
// In the 100 x 100 list picture the extent with its margin is 75.28 units square, scaled by
// 1.3284 to 100; x = 0, 30, 100 land on 26.57, 40.63, 73.43 and y = 0, 60, 100 (y upwards in
// the file) on 73.43, 45.31, 26.57, so truncation gives columns 26, 40, 73 and rows 73, 45, 26.
std::vector<std::uint8_t> twoBlocks()
{
    DstBuilder b;
    b.stitch(0, 0).stitch(100, 0).stitch(0, 100).jumpBy(0, 0);
    b.colourChange();
    b.stitch(-100, 0).stitch(0, -40).stitch(30, 0).jumpBy(0, 0);
    return b.fullyReadFile();
}

std::vector<std::pair<int, int>> pixelsOf(const PixelCanvas& c, TColor colour)
{
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.colourAt(x, y) == colour)
                out.emplace_back(x, y);
    return out;
}

std::vector<std::pair<int, int>> run(int x0, int y0, int x1, int y1)
{
    // The pixels of an axis-parallel run from (x0, y0) up to but not including (x1, y1).
    std::vector<std::pair<int, int>> out;
    const int dx = (x1 > x0) - (x1 < x0);
    const int dy = (y1 > y0) - (y1 < y0);
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
        out.emplace_back(x, y);
    return out;
}

std::vector<std::pair<int, int>> sorted(std::vector<std::pair<int, int>> v)
{
    std::sort(v.begin(), v.end(), [](auto a, auto b) {
        return std::tie(a.second, a.first) < std::tie(b.second, b.first);
    });
    return v;
}

// The row of one design as the browser makes it: the folder listed once, the side file found
// by that listing.
ListThumbnail listedThumbnail(const testsupport::TempDir& dir, const std::string& fileName)
{
    const std::string folder = dir.path().string() + '/';
    for (const DesignEntry& e : listDesigns(folder))
        if (e.fileName == fileName)
            return makeListThumbnail(folder + fileName,
                                     e.sideFile.empty() ? std::string() : folder + e.sideFile);
    return makeListThumbnail(folder + fileName, {});
}

} // namespace

TEST(ListThumbnail, DrawsEveryTruncatedPointButTheLastOfEachBlockAndNothingBetweenBlocks)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("two.dst"), twoBlocks());
    const ListThumbnail t = listedThumbnail(dir, "two.dst");
    ASSERT_EQ(t.picture.width(), 100);
    ASSERT_EQ(t.picture.height(), 100);

    // Block 1: along row 73 from column 26, then up column 73 to row 27; its last drawn point
    // (73, 26) is not set, and its closing jump is not drawn to.
    auto first = run(26, 73, 73, 73);
    const auto up = run(73, 73, 73, 26);
    first.insert(first.end(), up.begin(), up.end());
    EXPECT_EQ(sorted(pixelsOf(t.picture, paletteColor(0))), sorted(first));

    // Block 2: down column 26 from row 26 to 44, then along row 45 to column 39. Nothing joins
    // the end of block 1 at (73, 26) to the start of block 2 at (26, 26).
    auto second = run(26, 26, 26, 45);
    const auto along = run(26, 45, 40, 45);
    second.insert(second.end(), along.begin(), along.end());
    EXPECT_EQ(sorted(pixelsOf(t.picture, paletteColor(1))), sorted(second));

    const std::size_t coloured = first.size() + second.size();
    EXPECT_EQ(pixelsOf(t.picture, kWhite).size(), 100u * 100u - coloured);
    EXPECT_EQ(t.info.Fstitchcount, 9); // every record: stitches, jumps and the colour change
    EXPECT_EQ(t.info.Fcolorcount, 2);
    EXPECT_DOUBLE_EQ(t.info.Fwidth, 10);
    EXPECT_DOUBLE_EQ(t.info.Fheight, 10);
}

TEST(ListThumbnail, CentresAWideDesignWithWholePixelOffsets)
{
    // 400 x 100 units: fitted by width, the extent with its margin is 100 x 41.56, so
    // oy = trunc(29.22) = 29 and the stitch line along the design's middle lands on row
    // trunc(20.78) + 29 = 49; rows above 29 and below 70 stay white.
    DstBuilder b;
    b.stitch(0, 0).stitch(0, 50).stitchTo(400, 50, 100).stitch(0, 50).jumpBy(0, 0);
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("wide.dst"), b.fullyReadFile());
    const ListThumbnail t = listedThumbnail(dir, "wide.dst");
    const TColor c = paletteColor(0);
    int rowCount = 0;
    for (int x = 0; x < 100; ++x)
        rowCount += t.picture.colourAt(x, 49) == c;
    EXPECT_GT(rowCount, 60);
    for (int y : {0, 28, 71, 99})
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(t.picture.colourAt(x, y), kWhite) << x << ',' << y;
}

TEST(ListThumbnail, TakesTheThreadColoursOfASideFileInAnyLetterCase)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("rose.dst"), twoBlocks());
    const std::vector<TColor> colours = {rgb(200, 10, 20), rgb(10, 150, 30)};
    const std::vector<std::string> names = {"red", "green"};
    testsupport::writeFile(dir.file("ROSE.LSC"), encodeColorSequence("Card", colours, names));
    const ListThumbnail t = listedThumbnail(dir, "rose.dst");
    EXPECT_EQ(t.picture.colourAt(30, 73), colours[0]);
    EXPECT_EQ(t.picture.colourAt(26, 30), colours[1]);
    EXPECT_TRUE(pixelsOf(t.picture, paletteColor(0)).empty());
}

TEST(ListThumbnail, KeepsThePaletteWhenTheSideFileIsShortOrBroken)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("a.dst"), twoBlocks());
    // One record for two colours: only the card name would be taken.
    testsupport::writeFile(dir.file("a.lsc"),
                           encodeColorSequence("Card", std::vector<TColor>{rgb(1, 2, 3)},
                                               std::vector<std::string>{"x"}));
    EXPECT_EQ(listedThumbnail(dir, "a.dst").picture.colourAt(30, 73), paletteColor(0));

    // A count that claims more records than the file holds: a stream error, nothing applied.
    auto broken = encodeColorSequence("Card", std::vector<TColor>{rgb(1, 2, 3), rgb(4, 5, 6)},
                                      std::vector<std::string>{"x", "y"});
    broken.resize(broken.size() - 40);
    testsupport::writeFile(dir.file("a.lsc"), broken);
    EXPECT_EQ(listedThumbnail(dir, "a.dst").picture.colourAt(30, 73), paletteColor(0));
}

TEST(ListThumbnail, AFileThatCannotBeReadSaysWhyAndHasNoFacts)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("short.dst"), std::vector<std::uint8_t>(100, 0x03));
    ASSERT_EQ(::mkfifo(dir.file("pipe.dst").c_str(), 0600), 0); // must not wait for a writer
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {{dir.file("short.dst"), "too short"},
                 {dir.file("missing.dst"), "no such file"},
                 {dir.file("pipe.dst"), "not a regular file"}};
    for (const auto& c : cases) {
        const ListThumbnail t = makeListThumbnail(c.path, {});
        EXPECT_NE(t.error.find(c.reason), std::string::npos) << c.path << ": " << t.error;
        EXPECT_EQ(pixelsOf(t.picture, kWhite).size(), 10000u);
        EXPECT_EQ(t.info.Fstitchcount, 0);
        EXPECT_EQ(t.info.Fcolorcount, 0);
        EXPECT_EQ(t.info.Fwidth, 0);
    }
}

TEST(PixelCanvas, HardLinesLeaveTheirEndPixelInEveryDirection)
{
    PixelCanvas c(10, 10);
    const TColor red = rgb(255, 0, 0);
    c.hardLine(2, 2, 6, 4, red); // shallow, x-major
    c.hardLine(8, 8, 8, 8, red); // zero length: nothing
    c.hardLine(1, 9, 1, 6, red); // upwards
    EXPECT_EQ(sorted(pixelsOf(c, red)),
              sorted({{2, 2}, {3, 3}, {4, 3}, {5, 4}, {1, 9}, {1, 8}, {1, 7}}));
}

TEST(FileManagerThumbnail, KeepsTheAspectOnATransparentGroundInTheThreadColours)
{
    // 200 x 100 units, a closed outline: 256 x 128 at the default size.
    DstBuilder b;
    b.stitch(0, 0).stitchTo(200, 0).stitchTo(200, 100).stitchTo(0, 100).stitchTo(0, 0).jumpBy(0, 0);
    Tembs design;
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    const PixelCanvas c = drawFileManagerThumbnail(design, kDefaultThumbnailSize);
    EXPECT_EQ(c.width(), 256);
    EXPECT_EQ(c.height(), 128);
    EXPECT_EQ(c.alphaAt(128, 64), 0) << "inside the outline stays transparent";
    // Both long edges are whole lines at the column in the middle, the bottom one (y = 0 in
    // the file) in the block's colour: no line is cut off at the picture's edge.
    auto strongestIn = [&c](int from, int to, int* at) {
        int best = 0;
        for (int y = from; y < to; ++y)
            if (c.alphaAt(128, y) > best) {
                best = c.alphaAt(128, y);
                *at = y;
            }
        return best;
    };
    int top = -1;
    int bottom = -1;
    EXPECT_EQ(strongestIn(0, 30, &top), 255);
    EXPECT_EQ(strongestIn(100, 128, &bottom), 255);
    EXPECT_EQ(c.colourAt(128, bottom), paletteColor(0));
    // Antialiased: some pixel along a slanted line is partly covered.
    Tembs slanted;
    DstBuilder s;
    s.stitch(0, 0).stitchTo(200, 70).stitchTo(0, 100).jumpBy(0, 0);
    ASSERT_EQ(slanted.readdstbytes(s.fullyReadFile()), DstReadStatus::Read);
    const PixelCanvas d = drawFileManagerThumbnail(slanted, 128);
    bool partial = false;
    for (int y = 0; y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x)
            partial |= d.alphaAt(x, y) > 20 && d.alphaAt(x, y) < 230;
    EXPECT_TRUE(partial);
}

TEST(FileManagerThumbnail, TallAndEmptyDesignsAndTheLargestSize)
{
    DstBuilder tall;
    tall.stitch(0, 0).stitchTo(0, 300).stitchTo(10, 300).jumpBy(0, 0);
    Tembs design;
    ASSERT_EQ(design.readdstbytes(tall.fullyReadFile()), DstReadStatus::Read);
    PixelCanvas c = drawFileManagerThumbnail(design, 5000);
    EXPECT_EQ(c.height(), kLargestThumbnailSize);
    EXPECT_EQ(c.width(), 34); // 1024 x 10 / 300

    // Stitches in one place: nothing to see, but still a picture.
    DstBuilder still;
    still.stitch(0, 0).stitch(0, 0).stitch(0, 0).jumpBy(0, 0);
    ASSERT_EQ(design.readdstbytes(still.fullyReadFile()), DstReadStatus::Read);
    c = drawFileManagerThumbnail(design, 64);
    EXPECT_EQ(c.width(), 64);
    EXPECT_EQ(c.height(), 64);
    EXPECT_EQ(c.alphaAt(32, 32), 0);
}

TEST(FileManagerThumbnail, StopsDrawingWhenADesignWouldTakeTooLong)
{
    // A hundred thousand stitches each across half the design: at 1024 pixels every one is
    // hundreds of pixels long, far more work than any real design needs.
    DstBuilder b;
    b.stitch(0, 0);
    for (int i = 0; i < 50'000; ++i)
        b.stitch(121, 121).stitch(-121, -121);
    b.jumpBy(0, 0);
    Tembs design;
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    PixelCanvas c = drawFileManagerThumbnail(design, kLargestThumbnailSize);
    EXPECT_TRUE(c.budgetSpent());
    EXPECT_EQ(c.alphaAt(512, 512), 255) << "what was drawn stays";
}

TEST(PngWriter, WritesAFileAStrictReaderAcceptsWithThePixelsUndonePremultiplied)
{
    PixelCanvas c(7, 3, 0, 0);
    c.smoothLine(0.5, 1.5, 6.5, 1.5, 1, rgb(10, 200, 30)); // full coverage on row 1
    c.smoothLine(0.5, 0.25, 6.5, 0.25, 0.5, rgb(250, 0, 0));
    const auto file = encodePng(c);
    std::string why;
    const auto png = testsupport::decodePng(file, &why);
    ASSERT_TRUE(png) << why;
    EXPECT_EQ(png->width, 7);
    EXPECT_EQ(png->height, 3);
    EXPECT_EQ(png->rgba, c.rgbaBytes());
    EXPECT_EQ(png->at(3, 1, 1), 200);
    EXPECT_EQ(png->at(3, 1, 3), 255);
    EXPECT_EQ(png->at(3, 2, 3), 0);
    // A partly covered pixel keeps its colour with less alpha.
    EXPECT_GT(png->at(3, 0, 3), 0);
    EXPECT_LT(png->at(3, 0, 3), 255);
    EXPECT_NEAR(png->at(3, 0, 0), 250, 3);

    EXPECT_TRUE(encodePng(0, 5, {}).empty());
    EXPECT_TRUE(encodePng(2, 2, std::vector<std::uint8_t>(15)).empty());
}
