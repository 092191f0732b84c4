// The design object: scale, fit, colour cursor, block list and palette.
#include "dstbuilder.h"
#include "model/palette.h"
#include "model/tembs.h"

#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// A square of stitches with a jump in the middle and three colours.
void loadSquare(Tembs& design)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(300, 0).stitchTo(300, 200).jumpTo(0, 200).stitch(0, 0);
    b.stitchTo(0, 0).colourChange().stitch(0, 0).stitchTo(150, 100).colourChange();
    b.stitch(0, 0).stitchTo(10, 10).stitch(0, 0);
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
}

float firstX(const Tembs& design)
{
    return design.Graphlist().First()->FPointList[0].X;
}

} // namespace

TEST(TembsScale, RefusesBeyondTheLimitsOnlyInTheSameDirection)
{
    Tembs design;
    loadSquare(design);
    ASSERT_TRUE(design.Setscale(10.5f));
    const TRectF before = design.dstrect();
    EXPECT_FALSE(design.Setscale(1.2f));
    EXPECT_FLOAT_EQ(design.scale(), 10.5f);
    EXPECT_EQ(design.dstrect(), before);
    EXPECT_TRUE(design.Setscale(0.8f));
    EXPECT_NEAR(design.scale(), 8.4f, 1e-5);

    design.yibiyi();
    ASSERT_TRUE(design.Setscale(0.09f));
    EXPECT_FALSE(design.Setscale(0.8f));
    EXPECT_NEAR(design.scale(), 0.09f, 1e-7);
    design.yibiyi();
    EXPECT_NEAR(design.scale(), 1.0f, 1e-6);
}

TEST(TembsScale, ScalesEveryPointTheMarksAndTheExtentCumulatively)
{
    Tembs design;
    loadSquare(design);
    const float x0 = firstX(design);
    const TRectF r0 = design.dstrect();
    const TPointF last0 = design.lastpoint();
    design.zoomin();
    design.zoomin();
    EXPECT_NEAR(design.scale(), 0.64f, 1e-6);
    EXPECT_NEAR(firstX(design), x0 * 0.64f, 1e-3);
    EXPECT_NEAR(design.dstrect().right, r0.right * 0.64f, 1e-3);
    EXPECT_NEAR(design.lastpoint().x, last0.x * 0.64f, 1e-3);
    // The unscaled figures never change with scale.
    EXPECT_EQ(design.lastpointUnscaled(), last0);
    EXPECT_DOUBLE_EQ(design.width(), 30.0);
    design.yibiyi();
    EXPECT_NEAR(firstX(design), x0, 1e-3);
}

TEST(TembsScale, RefusesFactorsThatWouldDestroyTheDesign)
{
    Tembs design;
    loadSquare(design);
    const float x0 = firstX(design);
    EXPECT_FALSE(design.Setscale(0.0f));
    EXPECT_FALSE(design.Setscale(-1.0f));
    EXPECT_FALSE(design.Setscale(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(design.Setscale(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FLOAT_EQ(design.scale(), 1.0f);
    EXPECT_FLOAT_EQ(firstX(design), x0);
    design.chuangkou(0, 600); // a window without width
    EXPECT_FLOAT_EQ(design.scale(), 1.0f);
}

TEST(TembsScale, OneToOneBeforeAnyReadDoesNothing)
{
    Tembs design;
    design.yibiyi();
    EXPECT_EQ(design.scale(), 0.0f);
    design.chuangkou(800, 600);
    EXPECT_EQ(design.scale(), 0.0f);
}

TEST(TembsFit, TakesTheSmallerOfTheTwoFactors)
{
    Tembs design;
    loadSquare(design);
    const TRectF r = design.dstrect();
    const float expected = std::min(800 / r.width(), 600 / r.height());
    design.chuangkou(800, 600);
    EXPECT_NEAR(design.scale(), expected, 1e-5);
    EXPECT_LE(design.dstrect().width(), 800.01f);
    EXPECT_LE(design.dstrect().height(), 600.01f);
    // The design is height-limited here: it fills the height and not the width.
    EXPECT_NEAR(design.dstrect().height(), 600, 0.01);
    EXPECT_LT(design.dstrect().width(), 799);
    design.yibiyi();
    design.chuangkou(100, 2000);
    EXPECT_NEAR(design.dstrect().width(), 100, 0.01);
}

TEST(TembsCursor, StaysWithinZeroAndTheColourCount)
{
    Tembs design;
    loadSquare(design);
    ASSERT_EQ(design.colorcount(), 3);
    EXPECT_EQ(design.Colorindex(), 3);
    design.nextcolor();
    EXPECT_EQ(design.Colorindex(), 3);
    design.firstcolor();
    design.priorcolor();
    EXPECT_EQ(design.Colorindex(), 0);
    design.SetColorindex(-5);
    EXPECT_EQ(design.Colorindex(), 0);
    design.SetColorindex(99);
    EXPECT_EQ(design.Colorindex(), 3);
    design.SetColorindex(2);
    design.priorcolor();
    EXPECT_EQ(design.Colorindex(), 1);
    design.endcolor();
    EXPECT_EQ(design.Colorindex(), 3);
}

TEST(TembsColourList, CopiesOnlyTheDesignsColours)
{
    Tembs design;
    loadSquare(design);
    std::vector<std::string> list(10, "255");
    design.Setcolorlist(list);
    EXPECT_EQ(design.colorlist()[2], "255");
    EXPECT_EQ(design.colorlist()[3], std::to_string(paletteColor(3)));
    EXPECT_EQ(design.colorlist().size(), 156u);
}

TEST(TGraphlist, AddKeepsEachObjectOnce)
{
    TGraphObject a, b;
    TGraphlist list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&b), 1);
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Last(), &b);
    list.Delete(0);
    EXPECT_EQ(list.Items(0), &b);
    list.Delete(5); // out of range: nothing
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_TRUE(list.empty());
}

TEST(TPointList, CopiesHaveTheirOwnPoints)
{
    TPointList a(std::vector<TPoint3F>{{1, 2, 3}});
    TPointList b = a;
    b[0].X = 7;
    EXPECT_EQ(a[0].X, 1);
    EXPECT_EQ(b[0].X, 7);
}

TEST(Palette, RepeatsFiftyTwoColoursAndGoesOnBeyondTheTable)
{
    EXPECT_EQ(paletteColor(0), 0x0000FF00u);
    EXPECT_EQ(paletteColor(19), 0x00CCFF66u);
    EXPECT_EQ(paletteColor(20), 0x0000FF00u);
    EXPECT_EQ(paletteColor(40), 0x0000FF00u);
    EXPECT_EQ(paletteColor(51), 0x00CC0099u);
    EXPECT_EQ(paletteColor(52), 0x0000FF00u);
    EXPECT_EQ(paletteColor(155), 0x00CC0099u);
    // Past the 156 entries the cycle of 52 goes on.
    EXPECT_EQ(paletteColor(156), paletteColor(0));
    EXPECT_EQ(paletteColor(200), paletteColor(200 - 156));
    EXPECT_EQ(paletteColor(-3), paletteColor(0));
    const auto texts = paletteTexts();
    ASSERT_EQ(texts.size(), 156u);
    EXPECT_EQ(texts[1], "16711680");
}
