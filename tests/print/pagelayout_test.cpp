// Page arithmetic: the frame and its centre at preview and printer scales, the three
// placements on a real design, swatch positions, area drags, the preview's place in its
// scroll box, and the shading colours of printed stitches.
#include "dstbuilder.h"
#include "model/tembs.h"
#include "print/pagelayout.h"
#include "print/previewpointer.h"
#include "print/threadshading.h"
#include "testenv.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// A rectangle outline of `w` x `h` DST units (one colour), every record read.
std::unique_ptr<Tembs> outline(int w, int h)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(w, 0).stitchTo(w, h).stitchTo(0, h).stitchTo(0, 0).jumpBy(0, 0);
    auto design = std::make_unique<Tembs>();
    EXPECT_EQ(design->readdstbytes(b.fullyReadFile()), DstReadStatus::Read);
    return design;
}

} // namespace

TEST(PageLayout, FrameAndItsCentreAtPreviewAndPrinterScales)
{
    EXPECT_EQ(frameOnCanvas(1), (PageRect{20, 80, 575, 720}));
    EXPECT_EQ(frameOnCanvas(1).centre(), (PagePoint{297, 400}));
    EXPECT_EQ(frameOnCanvas(8), (PageRect{160, 640, 4600, 5760}));
    EXPECT_EQ(frameOnCanvas(8).centre(), (PagePoint{2380, 3200}));
    // Each edge is rounded on its own: at 1.5 the left edge 30 and right 862.5 -> 862.
    EXPECT_EQ(frameOnCanvas(1.5f), (PageRect{30, 120, 862, 1080}));
    EXPECT_EQ(onCanvas({350, 20}, 8), (PagePoint{2800, 160}));
    // Halves go to the even neighbour; runaway values stay inside an int.
    EXPECT_EQ(pageRound(2.5), 2);
    EXPECT_EQ(pageRound(3.5), 4);
    EXPECT_EQ(pageRound(1e300), 1 << 30);
    EXPECT_EQ(pageRound(-1e300), -(1 << 30));
    // A4 at 600 dots per inch (4961 x 7016): width-limited.
    EXPECT_NEAR(pageScale(4961, 7016), 4961.0 / 595, 1e-5);
    EXPECT_NEAR(pageScale(5000, 1680), 2.0, 1e-6);
}

TEST(PageLayout, ActualSizeCentresTheDesignInTheFrameAtItsSewnSize)
{
    const auto owned = outline(283, 142);
    Tembs& design = *owned; // 28.3 x 14.2 mm, about 100 x 50 model units at scale 1
    PageRect area{100, 100, 200, 200};
    design.Setscale(2);
    const PagePoint offset = placeDesign(design, Placement::ActualSize, area, 1);
    EXPECT_NEAR(design.scale(), 0.8035, 1e-4); // a page unit is a point: 72 to the inch
    EXPECT_EQ(offset, (PagePoint{297, 400}));
    EXPECT_EQ(area, kFrame);
    // The outline spans 28.3 x 14.2 mm of a page of points (80.2 x 40.3 units), centred.
    PageRect span{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (const TPoint3F& p : design.Graphlist().First()->FPointList) {
        const PagePoint c = designPointOnCanvas(p.X, p.Y, 1, offset);
        span = {std::min(span.left, c.x), std::min(span.top, c.y), std::max(span.right, c.x),
                std::max(span.bottom, c.y)};
    }
    EXPECT_EQ(span, (PageRect{257, 380, 337, 420}));

    // Letter at 600 dots per inch: 7.857 printer pixels a unit, 0.3326 mm. The design is
    // still 28.3 mm: 28.3 / 25.4 x 600 = 668.5 printer pixels.
    const double letterUnit = unitMillimetres(6600.0 / 840, 600);
    placeDesign(design, Placement::ActualSize, area, 6600.0 / 840, letterUnit);
    const TPointList& points = design.Graphlist().First()->FPointList;
    float minX = 1e9f, maxX = -1e9f;
    for (const TPoint3F& p : points) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
    }
    EXPECT_NEAR((maxX - minX) * 6600.0 / 840, 28.3 / 25.4 * 600, 0.5);

    // On a printer the selected area stays in page units: a later selected-area page must not
    // be fitted into printer pixels.
    placeDesign(design, Placement::ActualSize, area, 8);
    EXPECT_EQ(area, kFrame);
}

TEST(PageLayout, FitToPaperShrinksOnlyWhatDoesNotFit)
{
    PageRect area = kFrame;
    const auto smallDesign = outline(283, 142);
    Tembs& small = *smallDesign;
    placeDesign(small, Placement::ActualSize, area, 1);
    const float actual = small.scale();
    placeDesign(small, Placement::FitToPaper, area, 1);
    EXPECT_FLOAT_EQ(small.scale(), actual);
    EXPECT_EQ(initialPlacement(small), Placement::ActualSize);

    // 2000 x 600 units: 745.6 + 40 wide, so the width limits the fit to 555.
    const auto wideDesign = outline(2000, 600);
    Tembs& wide = *wideDesign;
    EXPECT_EQ(initialPlacement(wide), Placement::FitToPaper);
    const PagePoint offset = placeDesign(wide, Placement::FitToPaper, area, 1);
    EXPECT_NEAR(wide.dstrect().width(), 555, 0.01);
    EXPECT_LT(wide.dstrect().height(), 640);
    EXPECT_EQ(offset, (PagePoint{297, 400}));
    // A design already fitted keeps its scale.
    const float fitted = wide.scale();
    placeDesign(wide, Placement::FitToPaper, area, 1);
    EXPECT_FLOAT_EQ(wide.scale(), fitted);
    // Measured at actual size: 214.5 mm with the margin is just over the frame's 640 points.
    EXPECT_EQ(initialPlacement(*outline(100, 2145)), Placement::FitToPaper);
    EXPECT_EQ(initialPlacement(*outline(100, 2143)), Placement::ActualSize);
}

TEST(PageLayout, SelectedAreaFitsIntoTheAreaAroundItsIntegerCentre)
{
    const auto owned = outline(283, 142);
    Tembs& design = *owned; // extent with margin about 140 x 90
    PageRect area{101, 200, 402, 290};
    const PagePoint offset = placeDesign(design, Placement::SelectedArea, area, 1);
    EXPECT_EQ(offset, (PagePoint{251, 245}));
    EXPECT_NEAR(design.dstrect().height(), 90, 0.01); // height-limited
    EXPECT_EQ(area, (PageRect{101, 200, 402, 290}));
    EXPECT_EQ(placeDesign(design, Placement::SelectedArea, area, 8), (PagePoint{2008, 1960}));
}

TEST(PageLayout, SwatchesInGroupsOfFiveAndRowsOfThirtyFive)
{
    EXPECT_EQ(swatchRect(0), (PageRect{54, 730, 65, 741}));
    EXPECT_EQ(swatchRect(4).left, 54 + 4 * 14);
    EXPECT_EQ(swatchRect(5).left, 130); // the first of a group steps 6 further
    EXPECT_EQ(swatchRect(34).left, 54 + 34 * 14 + 6 * 6);
    EXPECT_EQ(swatchRect(35), (PageRect{54, 750, 65, 761}));
    EXPECT_EQ(swatchRect(75).top, 770);
    EXPECT_EQ(freeTextLine({30, 90}, 2), (PagePoint{30, 120}));
}

TEST(PageLayout, OnlyDragsRightAndDownSelectAnArea)
{
    EXPECT_EQ(selectedArea({10, 20}, {110, 70}), (PageRect{10, 20, 110, 70}));
    EXPECT_FALSE(selectedArea({110, 20}, {10, 70}));
    EXPECT_FALSE(selectedArea({10, 70}, {110, 20}));
    EXPECT_FALSE(selectedArea({10, 20}, {10, 70}));
}

TEST(PageLayout, PreviewScrollsInSmallBoxesAndIsCentredInLargeOnes)
{
    const PreviewAxis narrow = previewHorizontal(600);
    EXPECT_TRUE(narrow.scrolls);
    EXPECT_EQ(narrow.range, 660);
    EXPECT_EQ(narrow.offset, 30);
    const PreviewAxis wide = previewHorizontal(800);
    EXPECT_FALSE(wide.scrolls);
    EXPECT_EQ(wide.offset, 102);
    EXPECT_EQ(previewVertical(840).range, 900);
    EXPECT_EQ(previewVertical(1001).offset, 80);
}

TEST(ThreadShading, LightenMovesTheLightnessOnly)
{
    // Worked by hand through hue, saturation and lightness.
    EXPECT_EQ(lighten(rgb(255, 0, 0), -0.2), rgb(153, 0, 0));
    EXPECT_EQ(lighten(rgb(255, 0, 0), 0.1), rgb(255, 51, 51));
    EXPECT_EQ(lighten(rgb(255, 128, 0), -0.2), rgb(153, 77, 0));
    EXPECT_EQ(lighten(rgb(255, 128, 0), 0.1), rgb(255, 153, 51));
    EXPECT_EQ(lighten(rgb(0, 0, 128), 0.1), rgb(0, 0, 179));
    // Greys stay grey; lightness is clamped at white and black.
    EXPECT_EQ(lighten(0xEEEEEE, -0.2), 0xBBBBBBu);
    EXPECT_EQ(lighten(0xEEEEEE, 0.1), 0xFFFFFFu);
    EXPECT_EQ(lighten(0x101010, -0.2), 0x000000u);
}

TEST(ThreadShading, WhiteThreadShowsOnPaperAndStitchesAreDarkAtTheEnds)
{
    EXPECT_EQ(paperColour(0xFFFFFF), 0xEEEEEEu);
    EXPECT_EQ(paperColour(0xFFFFFE), 0xFFFFFEu);
    const auto stops = threadShadeStops(rgb(255, 0, 0));
    EXPECT_EQ(stops[0].colour, rgb(153, 0, 0));
    EXPECT_EQ(stops[5].colour, rgb(153, 0, 0));
    EXPECT_EQ(stops[1].colour, rgb(255, 0, 0));
    EXPECT_EQ(stops[2].colour, rgb(255, 51, 51));
    EXPECT_EQ(stops[3].position, 0.75);
    EXPECT_EQ(stops[4].position, 0.85);

    // Vector output: the mean colours of the gradient in nested bands, light in the middle.
    const auto bands = threadShadeBands(rgb(255, 0, 0));
    EXPECT_EQ(bands[0].colour, rgb(204, 0, 0)); // between 153 and 255
    EXPECT_EQ(bands[0].from, 0);
    EXPECT_EQ(bands[0].to, 1);
    EXPECT_EQ(bands[1].colour, rgb(255, 26, 26));
    EXPECT_EQ(bands[2].colour, rgb(255, 51, 51));
    EXPECT_EQ(bands[2].from, 0.25);
    EXPECT_EQ(bands[2].to, 0.75);
}

TEST(PreviewPointer, OneDragSelectsAnAreaAndOnePressPlacesTheText)
{
    PreviewPointer pointer;
    // Not armed: presses, moves and releases do nothing.
    EXPECT_FALSE(pointer.press({10, 10}).band);
    EXPECT_FALSE(pointer.release({50, 50}).area);

    // "选择区域": the band follows the drag; the release selects and disarms.
    pointer.armArea();
    EXPECT_EQ(pointer.press({100, 150}).band, (PageRect{100, 150, 100, 150}));
    EXPECT_EQ(pointer.move({300, 250}).band, (PageRect{100, 150, 300, 250}));
    const auto selected = pointer.release({301, 250});
    EXPECT_TRUE(selected.bandGone && selected.cursorBack);
    EXPECT_EQ(selected.area, (PageRect{100, 150, 301, 250}));
    EXPECT_FALSE(pointer.armed());
    EXPECT_FALSE(pointer.press({0, 0}).band); // one drag only

    // A drag up or to the left ends the drag but selects nothing.
    pointer.armArea();
    pointer.press({400, 400});
    const auto backwards = pointer.release({350, 380});
    EXPECT_TRUE(backwards.bandGone);
    EXPECT_FALSE(backwards.area);

    // "选择位置" then "选择区域": the later one holds; the text is placed by one press.
    pointer.armTextPosition();
    pointer.armArea();
    EXPECT_FALSE(pointer.press({5, 5}).textpos);
    pointer.release({6, 6});
    pointer.armTextPosition();
    const auto placed = pointer.press({120, 600});
    EXPECT_EQ(placed.textpos, (PagePoint{120, 600}));
    EXPECT_TRUE(placed.cursorBack);
    EXPECT_FALSE(pointer.press({1, 1}).textpos);
}
