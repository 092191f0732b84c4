// Building vertex arrays: the colour rule, which points are stitches, sequins, marks and links.
#include "drawing/designgeometry.h"
#include "dstbuilder.h"
#include "model/tembs.h"

#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

TColor colourOf(const LineVertex& v)
{
    return rgb(v.r, v.g, v.b);
}

// Four colours; blocks of 4, 2, 4 and 4 points.
void loadFourColours(Tembs& design)
{
    DstBuilder b;
    b.stitch(0, 0).stitch(100, 0).stitch(0, 100).colourChange(); // 4 points, 2 stitches
    b.stitch(0, 0).colourChange();                               // 2 points: no stitch
    b.stitch(0, 0).stitch(-100, 0).stitch(0, -100).colourChange();
    b.stitch(0, 0).stitch(50, 50).stitch(50, 0).jumpBy(10, 10);
    ASSERT_EQ(design.readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    ASSERT_EQ(design.colorcount(), 4);
}

const std::vector<TColor> kColours = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

} // namespace

TEST(CursorColour, ColoursOnlyIndicesBelowTheCursor)
{
    EXPECT_EQ(cursorColour(0, kColours, 2), 0x0000FFu);
    EXPECT_EQ(cursorColour(1, kColours, 2), 0x00FF00u);
    EXPECT_EQ(cursorColour(2, kColours, 2), 0u);
    EXPECT_EQ(cursorColour(3, kColours, 2), 0u);
    EXPECT_EQ(cursorColour(0, kColours, 0), 0u);
    EXPECT_EQ(cursorColour(3, kColours, 4), 0x00FFFFu);
}

TEST(LineGeometry, OneSegmentPerStitchInTheCursorsColours)
{
    Tembs design;
    loadFourColours(design);
    const LineGeometry g = buildLineGeometry(design, kColours, 2, {});
    // 2 + 0 + 2 + 2 stitches, each one pair of vertices.
    EXPECT_EQ(g.lines.size(), 12u);
    ASSERT_EQ(g.commands.size(), 1u);
    EXPECT_FALSE(g.commands[0].dashed);
    EXPECT_EQ(colourOf(g.lines[0]), 0x0000FFu);
    EXPECT_EQ(colourOf(g.lines[4]), 0u); // colour index 2: not yet sewn
    EXPECT_TRUE(g.points.empty());
    EXPECT_TRUE(g.marks.empty());
    // The first stitch runs from point 0 to point 1.
    const TPointList& p = design.Graphlist().First()->FPointList;
    EXPECT_FLOAT_EQ(g.lines[0].x, p[0].X);
    EXPECT_FLOAT_EQ(g.lines[1].x, p[1].X);
}

TEST(LineGeometry, PointsMarksAndDashedLinks)
{
    Tembs design;
    loadFourColours(design);
    LineOptions options;
    options.showPoints = true;
    options.showCodes = true;
    const LineGeometry g = buildLineGeometry(design, kColours, 1, options);
    // Points 0 .. n-2 of every block: 3 + 1 + 3 + 3.
    EXPECT_EQ(g.points.size(), 2u * 10);
    // Start circle of 180 segments and a triangle of 3 for every block.
    EXPECT_EQ(g.marks.size(), 4u * 2 * (180 + 3));
    for (const LineVertex& v : g.marks)
        ASSERT_EQ(colourOf(v), 0u);
    // A block of two points puts both marks on its point 0: the triangle's apex is 10 above.
    const TPoint3F& lone = design.Graphlist().Items(1)->FPointList[0];
    const LineVertex* triangle = &g.marks[2 * (180 + 3) + 360];
    EXPECT_FLOAT_EQ(triangle[1].y, lone.Y - 10);
    EXPECT_FLOAT_EQ(triangle[1].x, lone.X);
    // Links into blocks 1, 2 and 3, from the last stitch end drawn, in the new block's colour.
    int dashed = 0;
    for (const LineCommand& c : g.commands)
        if (c.dashed) {
            ++dashed;
            EXPECT_EQ(c.count, 2);
        }
    EXPECT_EQ(dashed, 3);
    const LineCommand& intoThird = g.commands[2]; // block 1 drew nothing, so E is in block 0
    ASSERT_TRUE(intoThird.dashed);
    const auto& first = design.Graphlist().First()->FPointList;
    EXPECT_FLOAT_EQ(g.lines[static_cast<std::size_t>(intoThird.first)].x, first[2].X);
    EXPECT_EQ(colourOf(g.lines[static_cast<std::size_t>(intoThird.first)]), 0u); // black block
}

TEST(LineGeometry, SequinsOnlyAtBreakPointsOfSequinBlocks)
{
    DstBuilder b;
    b.stitch(0, 0).sequinToggle().stitch(10, 0).raw(0, 0, 130).stitch(10, 0).raw(0, 0, 131);
    b.stitch(10, 0).sequinToggle().stitch(10, 0).jumpBy(10, 0);
    b.stitch(0, 0).stitch(10, 0).raw(0, 0, 0x82).stitch(5, 5).jumpBy(5, 5);
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    ASSERT_EQ(design.Graphlist().Count(), 2);
    ASSERT_TRUE(design.Graphlist().First()->Fissequin);
    LineOptions options;
    options.sequinOuter = 8.7f;
    options.sequinHole = 2.61f;
    const LineGeometry g = buildLineGeometry(design, kColours, 1, options);
    // Block 1: 10 points, 8 stitches, one sequin (131, not 130) of two 50-segment outlines;
    // block 2: 5 points, 3 stitches, no sequin flag.
    EXPECT_EQ(g.lines.size(), 2u * (8 + 100 + 3));
}

TEST(ThreadGeometry, ThreeQuadsPerStitchAndSequinsBeforeTheirBand)
{
    DstBuilder b;
    b.stitch(0, 0).sequinToggle().stitch(10, 0).raw(0, 0, 131).stitch(10, 0).sequinToggle();
    b.stitch(10, 0).jumpBy(10, 0).stitch(0, 0).stitch(10, 0).stitch(0, 10).jumpBy(3, 3);
    Tembs design;
    design.readdstbytes(b.fullyReadFile());
    ThreadOptions options;
    options.sequinOuter = 8.7f;
    options.sequinHole = 2.61f;
    options.sequinColour = colortovector(0x00FFFF, 255);
    const ThreadGeometry g = buildThreadGeometry(design, kColours, 4, options);
    // Block 1: 8 points, 6 stitches; block 2: 4 points, 2 stitches. Same colour index.
    const std::size_t bands = 12 * 8;
    const std::size_t sequin = 4 * 50 + 2 * 2 * 50;
    EXPECT_EQ(g.vertices.size(), bands + sequin);
    ASSERT_EQ(g.commands.size(), 4u);
    EXPECT_EQ(g.commands[0].kind, ThreadDraw::Bands);
    EXPECT_EQ(g.commands[0].count, 12 * 2); // the stitches before the sequin point
    EXPECT_EQ(g.commands[1].kind, ThreadDraw::SequinFill);
    EXPECT_EQ(g.commands[2].kind, ThreadDraw::SequinOutline);
    EXPECT_EQ(g.commands[3].kind, ThreadDraw::Bands);
    EXPECT_EQ(g.commands[3].count, 12 * 6); // both blocks, one colour: one draw
    ASSERT_EQ(g.threadColours.size(), 1u);
    const ThreadVertex& fill = g.vertices[static_cast<std::size_t>(g.commands[1].first)];
    EXPECT_EQ(fill.r, 255);
    EXPECT_EQ(fill.g, 255);
    EXPECT_EQ(fill.b, 0);
    const ThreadVertex& outline = g.vertices[static_cast<std::size_t>(g.commands[2].first)];
    EXPECT_EQ(outline.r + outline.g + outline.b, 0);
}

TEST(ThreadGeometry, BlackBlocksShareTheBlackTexture)
{
    Tembs design;
    loadFourColours(design);
    const ThreadGeometry none = buildThreadGeometry(design, kColours, 0, {});
    EXPECT_EQ(none.threadColours, std::vector<TColor>{0});
    const ThreadGeometry all = buildThreadGeometry(design, kColours, 4, {});
    EXPECT_EQ(all.threadColours, (std::vector<TColor>{0x0000FF, 0xFF0000, 0x00FFFF}));
}

TEST(SmoothStrokes, OneQuadTwoPixelsWideAroundEveryLine)
{
    const std::vector<LineVertex> pairs = {{0, 0, 255, 0, 0, 255},
                                           {10, 0, 255, 0, 0, 255},
                                           {5, 5, 0, 0, 255, 255},
                                           {5, 5, 0, 0, 255, 255}};
    const auto q = smoothStrokes(pairs);
    ASSERT_EQ(q.size(), 8u);
    EXPECT_FLOAT_EQ(q[0].y, kStrokeHalfWidth);
    EXPECT_FLOAT_EQ(q[2].y, -kStrokeHalfWidth);
    EXPECT_FLOAT_EQ(q[1].x, 10);
    EXPECT_EQ(q[0].t, 0);
    EXPECT_EQ(q[3].t, 1);
    EXPECT_EQ(q[0].r, 255);
    // A line of no length still has a (tiny) stroke, never a division by zero.
    EXPECT_FLOAT_EQ(q[4].y, 5 + kStrokeHalfWidth);
    EXPECT_EQ(q[6].b, 255);
    // As much ink across the stroke as a one-pixel line has.
    int sum = 0;
    for (std::uint8_t a : kStrokeProfile)
        sum += a;
    EXPECT_NEAR(sum / 8.0 / 255 * 2 * kStrokeHalfWidth, 1.0, 0.05);
}
