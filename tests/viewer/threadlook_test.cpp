// Thread bands, the thread texture and the fabric tile: the numbers both renderers rely on.
#include "drawing/fabrictile.h"
#include "drawing/threadlook.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace loomscope;

namespace {
double round3(double v)
{
    return std::round(v * 1000) / 1000;
}
float capLength(const ThreadBand& b)
{
    return std::hypot(b.innerStartPlus.x - b.startPlus.x, b.innerStartPlus.y - b.startPlus.y);
}
} // namespace

TEST(ThreadBand, LongStitchHasCapsOfSevenHalfWidths)
{
    const ThreadBand view = stitchband({0, 0}, {100, 0}, viewerBandHalfWidth(1));
    EXPECT_NEAR(capLength(view), 6.3, 1e-5);
    EXPECT_DOUBLE_EQ(round3(view.cap), 0.875);
    EXPECT_DOUBLE_EQ(round3(view.mid), 12.139);
    // The band is 2 w wide, centred on the stitch.
    EXPECT_NEAR(view.startPlus.y - view.startMinus.y, 1.8, 1e-5);
    EXPECT_NEAR(view.startPlus.x, 0, 1e-5);

    const ThreadBand exported = stitchband({0, 0}, {100, 0}, exportBandHalfWidth(1));
    EXPECT_NEAR(capLength(exported), 6.65, 1e-5);
    EXPECT_DOUBLE_EQ(round3(exported.cap), 0.875);
    EXPECT_DOUBLE_EQ(round3(exported.mid), 11.408);
}

TEST(ThreadBand, ShortStitchCapsMeetInTheMiddle)
{
    const ThreadBand b = stitchband({0, 0}, {10, 0}, 0.9f);
    EXPECT_NEAR(capLength(b), 5, 1e-5);
    EXPECT_NEAR(b.mid, 0, 1e-6);
    EXPECT_NEAR(b.innerStartPlus.x, 5, 1e-5);
    EXPECT_NEAR(b.innerEndPlus.x, 5, 1e-5);

    const ThreadBand none = stitchband({3, 4}, {3, 4}, 0.9f);
    EXPECT_EQ(none.innerStartPlus, none.startPlus);
    EXPECT_EQ(none.innerEndMinus, none.endMinus);
    EXPECT_NEAR(none.startPlus.x, none.endPlus.x, 1e-6); // no area
}

TEST(ThreadBand, HalfWidthNeverBelowASafeMinimum)
{
    EXPECT_FLOAT_EQ(viewerBandHalfWidth(0.5f), 0.63f);
    EXPECT_FLOAT_EQ(exportBandHalfWidth(0.5f), 0.63f);
    EXPECT_FLOAT_EQ(viewerBandHalfWidth(2), 1.8f);
    EXPECT_FLOAT_EQ(exportBandHalfWidth(8), 7.6f);
}

TEST(ThreadBand, RunsLeftToRightAndVerticalBandsUpwards)
{
    EXPECT_TRUE(bandforward({0, 0}, {100, 0}));
    EXPECT_FALSE(bandforward({100, 0}, {0, 0}));
    EXPECT_FALSE(bandforward({0, 0}, {0, 50})); // downwards on screen: drawn from C upwards
    EXPECT_TRUE(bandforward({0, 50}, {0, 0}));
    EXPECT_TRUE(bandforward({0, 0}, {0, 0}));
    EXPECT_TRUE(bandforward({0, 0}, {5, 40}));
    EXPECT_FALSE(bandforward({0, 0}, {-5, -40}));
}

TEST(ThreadBand, QuadsShadeFromDarkStartToLighterEnd)
{
    const ThreadBand b = stitchband({0, 0}, {100, 0}, 0.9f);
    const auto q = bandQuads(b, 0.2f);
    // Start cap: outer corners 100, inner 255; end cap: outer 150.
    EXPECT_EQ(q[2].r, 100);
    EXPECT_EQ(q[3].r, 100);
    EXPECT_EQ(q[0].r, 255);
    EXPECT_EQ(q[8].r, 150);
    EXPECT_EQ(q[9].r, 150);
    EXPECT_NEAR(q[2].x, 0, 1e-5);
    EXPECT_NEAR(q[8].x, 100, 1e-5);
    // Texture runs on without a seam: each quad starts where the last ended, modulo repeats.
    auto frac = [](float v) { return v - std::floor(v); };
    EXPECT_NEAR(frac(q[0].s), frac(q[6].s), 1e-5);
    EXPECT_NEAR(frac(q[4].s), frac(q[10].s), 1e-4);
    EXPECT_FLOAT_EQ(q[2].s, 0.2f);
    EXPECT_EQ(q[0].t, 1);
    EXPECT_EQ(q[1].t, 0);
}

TEST(ThreadTexture, ChannelsOfBlackAndWhiteThread)
{
    EXPECT_EQ(threadChannelFactor(0), 61);
    EXPECT_EQ(threadChannelFactor(1), 61);
    EXPECT_EQ(threadChannelFactor(255), 255);
    ASSERT_EQ(threadbaseGrey(3, 8), 176);
    ASSERT_EQ(threadbaseGrey(0, 13), 100);
    auto texel = [](const ThreadTexturePixels& p, int column, int row) {
        return &p[static_cast<std::size_t>((row * 32 + column) * 4)];
    };
    const auto black = makelighttexture(0x000000);
    EXPECT_EQ(texel(black, 3, 8)[0], 65);
    EXPECT_EQ(texel(black, 3, 8)[3], 255);
    const auto white = makelighttexture(0xFFFFFF);
    EXPECT_EQ(texel(white, 3, 8)[1], 255);
    EXPECT_EQ(texel(white, 0, 13)[2], 158);
    EXPECT_EQ(texel(white, 0, 13)[3], 0);
    // Red thread: the red channel carries the colour, channel for channel.
    const auto red = makelighttexture(0x0000FF);
    EXPECT_EQ(texel(red, 3, 8)[0], 255);
    EXPECT_EQ(texel(red, 3, 8)[1], 65);
}

TEST(ThreadTexture, OuterRowsAreTransparent)
{
    for (int column = 0; column < 32; ++column) {
        EXPECT_EQ(threadbaseAlpha(column, 0), 0);
        EXPECT_EQ(threadbaseAlpha(column, 15), 0);
        EXPECT_EQ(threadbaseAlpha(column, 7), 255);
    }
    EXPECT_EQ(threadbaseAlpha(8, 2), 110);
    EXPECT_EQ(threadbaseAlpha(23, 13), 159);
    EXPECT_EQ(threadbaseGrey(12, 10), 110);
}

TEST(ThreadTexture, TwistPhasesAreTheFiveStepsAndStable)
{
    std::set<float> seen;
    for (std::uint32_t k = 0; k < 1000; ++k) {
        const float r = twistPhase(k);
        seen.insert(r);
        EXPECT_EQ(r, twistPhase(k));
    }
    EXPECT_EQ(seen, (std::set<float>{0.0f, 0.1f, 0.2f, 0.3f, 0.4f}));
}

TEST(FabricTile, TintsLikeTheViewerAndTheExport)
{
    EXPECT_EQ(viewerFabricChannel(128, 255), 255);
    EXPECT_EQ(viewerFabricChannel(128, 0), 1);
    EXPECT_EQ(viewerFabricChannel(0, 255), 0);
    EXPECT_EQ(viewerFabricChannel(255, 0), 255);
    EXPECT_EQ(exportFabricChannel(128, 255), 254); // floor(255 * 255 / 256)
    EXPECT_EQ(exportFabricChannel(64, 200), 100);
    EXPECT_EQ(exportFabricChannel(0, 255), 0);

    RgbPicture grey{1, 1, {128, 128, 128}};
    const FabricTile tile = tintfabric(grey, 0x0000FF, FabricTint::Viewer);
    EXPECT_EQ(tile[0], 255);
    EXPECT_EQ(tile[1], 1);
    EXPECT_EQ(tile[2], 1);
    EXPECT_EQ(tile[(127 * 128 + 127) * 3], 255); // a small picture repeats
}

TEST(FabricTile, TakesTheTopLeftOfTheTopRowFirst)
{
    RgbPicture picture{200, 150, std::vector<std::uint8_t>(200 * 150 * 3, 0)};
    auto at = [&](int x, int y) {
        return &picture.rgb[static_cast<std::size_t>((y * 200 + x) * 3)];
    };
    at(5, 0)[0] = 255; // red at the top row
    at(127, 127)[2] = 255;
    at(128, 0)[1] = 255; // outside the tile
    const FabricTile tile = tintfabric(picture, 0xFFFFFF, FabricTint::Viewer);
    EXPECT_EQ(tile[5 * 3 + 0], 255);
    EXPECT_EQ(tile[(127 * 128 + 127) * 3 + 2], 255);
    EXPECT_EQ(tile[1], 0);
    const FabricTile empty = tintfabric({}, 0x808080, FabricTint::Viewer);
    EXPECT_EQ(empty[0], 129); // mid grey gives the tint
}
