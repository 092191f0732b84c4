// The view's state: loading, fitting, zoom about the centre, pan, colour cursor and table,
// text colours, sequin radii and the measuring tool.
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/palette.h"
#include "testenv.h"
#include "viewer/designview.h"
#include "viewer/overlaytext.h"

#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// A design whose extent with its margin is about 400 x 100 model units, three colours.
std::vector<std::uint8_t> wideDesign()
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(1020, 0).colourChange().stitch(0, 0).stitchTo(1020, 170);
    b.colourChange().stitch(0, 0).stitchTo(0, 0).stitchTo(0, -170).jumpBy(0, 0);
    return b.fullyReadFile();
}

class DesignViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::writeFile(dir.file("wide.dst"), wideDesign());
        ASSERT_TRUE(view.loaddstfile(dir.file("wide.dst"), true, 800, 600).loaded);
    }
    testsupport::TempDir dir;
    DesignView view;
};

} // namespace

TEST_F(DesignViewTest, LoadingFitsAndCentresTheDesign)
{
    EXPECT_NEAR(view.dstfile().scale(), 2.0, 0.002);
    EXPECT_NEAR(view.dstrect().width(), 800, 0.01);
    EXPECT_NEAR(view.dstrect().top + view.dstrect().bottom, 600, 0.01);
    EXPECT_EQ(view.colorindex(), 3);
    EXPECT_EQ(view.colorlist(),
              (std::vector<TColor>{paletteColor(0), paletteColor(1), paletteColor(2)}));
    EXPECT_EQ(view.dstinfo().Fcolorcount, 3);
    EXPECT_TRUE(view.isexist());

    // Without fitting: scale 1, centred in the control.
    DesignView plain;
    plain.loaddstfile(dir.file("wide.dst"), false, 800, 600);
    EXPECT_FLOAT_EQ(plain.dstfile().scale(), 1);
    EXPECT_NEAR(plain.origin().x, 400, 0.01);
    EXPECT_NEAR(plain.origin().y, 300, 0.01);
}

TEST_F(DesignViewTest, AFileThatIsGoneLeavesTheViewEmptyNotTheOldDesign)
{
    // Opened from a list made before it was deleted: the old design must not stay on screen
    // under the gone file's name.
    const auto result = view.loaddstfile(dir.file("missing.dst"), true, 800, 600);
    EXPECT_EQ(result.dst, DstReadStatus::Missing);
    EXPECT_FALSE(view.isexist());
    EXPECT_EQ(view.lastRead(), DstReadStatus::Missing);
    EXPECT_EQ(view.dstfile().colorcount(), 0);
    EXPECT_EQ(view.filename(), dir.file("missing.dst"));
}

TEST_F(DesignViewTest, ZoomKeepsTheCentreWhereItIs)
{
    view.offsetpos(37, -12);
    const TPointF centre = view.origin();
    const float scale = view.dstfile().scale();
    view.Setscale(1.2f);
    view.Setscale(0.8f);
    EXPECT_NEAR(view.dstfile().scale(), scale * 0.96f, 1e-5);
    EXPECT_NEAR(view.origin().x, centre.x, 1e-3);
    EXPECT_NEAR(view.origin().y, centre.y, 1e-3);

    view.yibiyi(800, 600);
    EXPECT_FLOAT_EQ(view.dstfile().scale(), 1);
    EXPECT_NEAR(view.origin().x, 400, 1e-3);
    view.chuangkou(400, 300, 800, 600);
    EXPECT_NEAR(view.dstrect().width(), 400, 0.01);
    EXPECT_NEAR(view.origin().x, 400, 1e-3);
}

TEST_F(DesignViewTest, PanIsSwallowedOnceAfterAMeasurement)
{
    const TRectF before = view.dstrect();
    view.setCl(true);
    view.measurePress(100, 100);
    view.measureRelease(100, 100);
    EXPECT_FALSE(view.armed());
    view.offsetpos(10, 0);
    EXPECT_EQ(view.dstrect(), before);
    view.offsetpos(10, 0);
    EXPECT_NEAR(view.dstrect().left, before.left + 10, 1e-4);

    // A measurement whose release never reaches offsetpos (begun outside the design) does
    // not swallow a pan of a later gesture.
    view.setCl(true);
    view.measurePress(1, 1);
    view.measureRelease(1, 1);
    view.measurePress(400, 300);
    const TRectF now = view.dstrect();
    view.offsetpos(5, 5);
    EXPECT_NEAR(view.dstrect().top, now.top + 5, 1e-4);
}

TEST_F(DesignViewTest, MeasuresInMillimetresAtTheCurrentScale)
{
    view.yibiyi(800, 600);
    view.setCl(true);
    view.measurePress(0, 0);
    EXPECT_TRUE(view.measuring());
    EXPECT_EQ(view.measureText(), "");
    view.measureMove(35, 0);
    EXPECT_EQ(view.measureText(), "9.9mm");
    EXPECT_EQ(view.measureEnd(), (TPointI{35, 0}));
    // Zooming is ignored while a measurement is drawn.
    view.Setscale(2);
    EXPECT_FLOAT_EQ(view.dstfile().scale(), 1);
    view.measureRelease(35, 0);
    EXPECT_EQ(view.measureText(), "");
    EXPECT_EQ(view.measureEnd(), (TPointI{-1, -1}));
    EXPECT_FALSE(view.measuring());

    view.Setscale(2);
    view.setCl(true);
    view.measurePress(0, 0);
    view.measureMove(35, 0);
    EXPECT_EQ(view.measureText(), "5.0mm");
    view.measureRelease(35, 0);
    // Not armed: no measurement.
    view.measurePress(0, 0);
    EXPECT_FALSE(view.measuring());
}

TEST_F(DesignViewTest, ColourCursorAndTable)
{
    view.nextcolor();
    EXPECT_EQ(view.colorindex(), 3);
    view.firstcolor();
    view.priorcolor();
    EXPECT_EQ(view.colorindex(), 0);
    view.nextcolor();
    EXPECT_EQ(view.colorindex(), 1);
    view.endcolor();
    EXPECT_EQ(view.colorindex(), 3);
    EXPECT_EQ(view.dstfile().Colorindex(), 3); // the design's own cursor is not touched

    EXPECT_EQ(view.readcolorlist(3), 0xFFFFFFu);
    EXPECT_EQ(view.readcolorlist(-1), 0xFFFFFFu);
    const auto revision = view.geometryRevision();
    EXPECT_FALSE(view.setcolorlist(0, view.readcolorlist(0)));
    EXPECT_FALSE(view.setcolorlist(3, 0x123456));
    EXPECT_EQ(view.geometryRevision(), revision);
    EXPECT_TRUE(view.setcolorlist(2, 0x123456));
    EXPECT_EQ(view.readcolorlist(2), 0x123456u);
    EXPECT_GT(view.geometryRevision(), revision);
}

TEST_F(DesignViewTest, OnlyChangesOfWhatIsBuiltAskForNewGeometry)
{
    auto revision = view.geometryRevision();
    view.offsetpos(3, 3);
    view.setBackcolor(0x000000);
    view.setShowfont(false);
    view.resize(640, 480);
    EXPECT_EQ(view.geometryRevision(), revision);
    for (auto change :
         {+[](DesignView& v) { v.Setscale(1.2f); }, +[](DesignView& v) { v.priorcolor(); },
          +[](DesignView& v) { v.setDstshowtype(tdstshow::dsturetype); },
          +[](DesignView& v) { v.setShowpoint(true); }, +[](DesignView& v) { v.setSequinsizeD(4); },
          +[](DesignView& v) { v.setSequincolor(0xFF); }}) {
        change(view);
        EXPECT_GT(view.geometryRevision(), revision);
        revision = view.geometryRevision();
    }
}

TEST_F(DesignViewTest, TextFollowsTheBackgroundOrTheFabric)
{
    auto colourOf = [&] {
        const TColorVector& c = view.fontColourInUse();
        return rgb(int(c.red * 255 + 0.5f), int(c.green * 255 + 0.5f), int(c.blue * 255 + 0.5f));
    };
    view.setBackcolor(0x000000);
    EXPECT_EQ(colourOf(), 0xFFFFFFu);
    view.setBackcolor(0xEEEEEE);
    EXPECT_EQ(colourOf(), 0x111111u);
    RgbPicture weave{1, 1, {128, 128, 128}};
    view.setbackground(true, 0x0000FF, weave);
    EXPECT_EQ(colourOf(), 0xFFFF00u);
    EXPECT_EQ(view.fabricTile()[0], 255);
    EXPECT_EQ(view.fabricTile()[1], 1);
    view.setbackground(false, 0x00FF00, {});
    EXPECT_EQ(colourOf(), 0x111111u);
    EXPECT_EQ(view.fabricTint(), 0x0000FFu); // the last fabric is kept
    view.setFontcolor(0x00FF00);
    EXPECT_EQ(colourOf(), 0x00FF00u);
    view.setBackcolor(0xEEEEEE);
    EXPECT_EQ(colourOf(), 0x111111u);
}

TEST_F(DesignViewTest, SequinRadiiFollowSizeAndScale)
{
    view.yibiyi(800, 600);
    EXPECT_NEAR(view.sequinOuterRadius(), 8.7, 1e-5);
    EXPECT_NEAR(view.sequinHoleRadius(), 2.61, 1e-5);
    view.Setscale(2);
    view.setSequinsizeD(4);
    EXPECT_NEAR(view.sequinOuterRadius(), 13.92, 1e-4);
}

TEST_F(DesignViewTest, SideFilesColourTheTable)
{
    const std::vector<TColor> two = {0x0000FF, 0x00FF00};
    ASSERT_EQ(writecolorfile(dir.file("wide.lsc"), "C", two, {}), "");
    DesignView shortFile;
    auto result = shortFile.loaddstfile(dir.file("wide.dst"), true, 800, 600);
    EXPECT_EQ(result.sideFile.status, ColorFileStatus::CardOnly);
    EXPECT_EQ(shortFile.colorlist()[0], paletteColor(0));

    const std::vector<TColor> three = {0x0000FF, 0x00FF00, 0xFF0000};
    ASSERT_EQ(writecolorfile(dir.file("wide.lsc"), "C", three, {}), "");
    DesignView full;
    full.loaddstfile(dir.file("wide.dst"), true, 800, 600);
    EXPECT_EQ(full.colorlist(), three);

    // A damaged side file is reported, and the design is still shown in its default colours.
    auto bytes = testsupport::readFile(dir.file("wide.lsc"));
    bytes.resize(bytes.size() - 5);
    testsupport::writeFile(dir.file("wide.lsc"), bytes);
    DesignView damaged;
    result = damaged.loaddstfile(dir.file("wide.dst"), true, 800, 600);
    EXPECT_EQ(result.sideFile.status, ColorFileStatus::StreamReadError);
    EXPECT_TRUE(damaged.isexist());
    EXPECT_EQ(damaged.colorlist()[2], paletteColor(2));
}

TEST(OverlayText, RowsAndNumbers)
{
    testsupport::TempDir dir;
    DstBuilder b;
    b.stitch(0, 0).stitchTo(1234, 0).stitchTo(1234, 567).jumpBy(0, 0);
    testsupport::writeFile(dir.file("玫瑰.dst"), b.fullyReadFile());
    DesignView view;
    view.loaddstfile(dir.file("玫瑰.dst"), false, 800, 600);
    auto rows = overlayRows(view.dstfile(), view.dstinfo());
    EXPECT_EQ(rows[0].value, "玫瑰");
    EXPECT_EQ(rows[1].value, std::to_string(view.dstfile().stitchs()));
    EXPECT_EQ(rows[4].label, "Size(mm):");
    EXPECT_EQ(rows[4].value, "123.4 * 56.7");
    EXPECT_EQ(rows[5].value, "4.858 * 2.232");
    EXPECT_EQ(rows[6].value, "1");
    EXPECT_EQ(rows[6].baseline, 140);
    view.Setscale(1.2f);
    view.Setscale(1.2f);
    EXPECT_EQ(overlayRows(view.dstfile(), view.dstinfo())[6].value, "1.44");
    view.yibiyi(800, 600);
    view.Setscale(1.0f / 3);
    EXPECT_EQ(overlayRows(view.dstfile(), view.dstinfo(), ',')[6].value, "0,333");
}
