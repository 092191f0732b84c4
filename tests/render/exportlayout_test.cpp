// The picture's size, fitting, sequin sizes, resolution, brightening and information block.
#include "dstbuilder.h"
#include "model/tembs.h"
#include "render/exportlayout.h"
#include "testenv.h"
#include "viewer/overlaytext.h"

#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {
void loadBox(Tembs& design, int width, int height)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(width, 0).stitchTo(width, height).stitchTo(0, height).jumpBy(0, 0);
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
}
} // namespace

TEST(PictureLayout, SidesGrowToTheNextMultipleOfFour)
{
    EXPECT_EQ(pictureSide(1000), 1004);
    EXPECT_EQ(pictureSide(800), 804);
    EXPECT_EQ(pictureSide(1001), 1004);
    EXPECT_EQ(pictureSide(1003), 1004);
    EXPECT_EQ(pictureSide(1203), 1204);
    EXPECT_EQ(pictureSide(801), 804);
}

TEST(PictureLayout, LargeDesignsAreFittedIntoThreeThousandPixels)
{
    Tembs wide;
    loadBox(wide, 1000, 500); // 100 x 50 mm: about 3142 pixels wide at scale 8
    const PicturePlan plan = planPicture(wide);
    EXPECT_LT(plan.scale, 8);
    EXPECT_GE(plan.width, 2998);
    EXPECT_LE(plan.width, 3000);
    EXPECT_EQ(pictureSide(3000), 3004);
    EXPECT_NEAR(plan.height, plan.width * (500 / 2.83465 + 40) / (1000 / 2.83465 + 40), 2);
    EXPECT_NEAR(plan.sequinOuter, plan.scale * 8.7f, 1e-4);

    Tembs tall;
    loadBox(tall, 400, 1500);
    const PicturePlan tallPlan = planPicture(tall);
    EXPECT_LE(tallPlan.height, 3000);
    EXPECT_GE(tallPlan.height, 2998);
    EXPECT_LT(tallPlan.width, tallPlan.height);
}

TEST(PictureLayout, SmallDesignsKeepEightPixelsPerUnit)
{
    Tembs small;
    loadBox(small, 300, 150);
    const PicturePlan plan = planPicture(small);
    EXPECT_FLOAT_EQ(plan.scale, 8);
    EXPECT_NEAR(plan.width, (300 / 2.83465 + 40) * 8, 2);
    EXPECT_FLOAT_EQ(plan.sequinOuter, 69.6f);
    EXPECT_FLOAT_EQ(plan.sequinHole, 20.88f);
    EXPECT_EQ(pictureDotsPerInch(plan.scale), 720);
    EXPECT_EQ(pictureDotsPerInch(7.4667f), 672);
}

TEST(PictureLayout, BrightenStopsAtWhite)
{
    std::uint8_t bytes[] = {0, 100, 235, 236, 255};
    brighten(bytes, 5);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 5), (std::vector<int>{20, 120, 255, 255, 255}));
}

TEST(PictureLayout, InformationBlockLines)
{
    Tembs design;
    loadBox(design, 575, 400);
    const auto lines = pictureInfoLines(design);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].top, 10);
    EXPECT_EQ(lines[8].top, 250);
    EXPECT_EQ(lines[1].text, "Stitchs: " + std::to_string(design.stitchs()));
    EXPECT_EQ(lines[2].text, "Colors: 1");
    EXPECT_EQ(lines[3].text, "Size(inch): 2.264 * 1.575");
    EXPECT_EQ(lines[4].text, "Size(mm): 57.5 * 40");
    EXPECT_EQ(lines[5].text, "Sequins: 0");
    EXPECT_NE(lines[6].text.find("LoomScope"), std::string::npos);
    EXPECT_EQ(pictureInfoLines(design, ',')[4].text, "Size(mm): 57,5 * 40");
}

TEST(PictureLayout, NamesInCodePage936AreWrittenAsTheirCharacters)
{
    // A design unpacked from a Chinese Windows archive: its name is code page 936 bytes.
    testsupport::TempDir dir;
    DstBuilder b;
    b.stitch(0, 0).stitchTo(100, 0).jumpBy(0, 0);
    const std::string file = dir.file("\xC3\xB5\xB9\xE5.DST");
    testsupport::writeFile(file, b.fullyReadFile());
    Tembs design;
    ASSERT_EQ(design.loadfromfile(file), DstReadStatus::Read);
    EXPECT_EQ(pictureInfoLines(design)[0].text, "Design Name: 玫瑰");
    EXPECT_EQ(overlayRows(design, design.info())[0].value, "玫瑰");
}
