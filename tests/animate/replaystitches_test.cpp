// Reading a design for the stitch-out replay: the surface and fit rules, where records land on
// the surface, and files that hold nothing to replay.
#include "animate/replaystitches.h"
#include "dstbuilder.h"
#include "testenv.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

TEST(ReplayLayout, SurfaceAndFitFollowTheAreaRules)
{
    // The drawing area is the client area below the 40-pixel panel; the surface pads each side
    // by its remainder modulo 4.
    const ReplaySurfaceSize laptop = replaySurfaceSize(1366, 768);
    EXPECT_EQ(laptop.width, 1368);
    EXPECT_EQ(laptop.height, 728);
    const ReplaySurfaceSize odd = replaySurfaceSize(1367, 770);
    EXPECT_EQ(odd.width, 1370);
    EXPECT_EQ(odd.height, 732);

    // Wide designs fill the width and are centred vertically, tall ones the other way round.
    const ReplayFit wide = fitReplayExtent(1000, 500, 1000, 800);
    EXPECT_DOUBLE_EQ(wide.q, 1);
    EXPECT_EQ(wide.offX, 0);
    EXPECT_EQ(wide.offY, 150);
    const ReplayFit tall = fitReplayExtent(500, 1000, 1000, 800);
    EXPECT_DOUBLE_EQ(tall.q, 0.8);
    EXPECT_EQ(tall.offX, 300);
    EXPECT_EQ(tall.offY, 0);
    // The offset is rounded to a whole pixel.
    const ReplayFit rounded = fitReplayExtent(1000, 503, 1000, 800);
    EXPECT_EQ(rounded.offY, 148);
}

TEST(ReplayRead, LaysRecordsOutOnTheSurfaceWithAMillimetreMargin)
{
    // x runs 0 ... 980 and y 0 ... -480: with the margin of 10 units the extent is 1000 x 500,
    // which fits a 1000 x 800 area at one pixel per unit, 150 pixels down.
    DstBuilder b;
    b.stitch(0, 0).jumpTo(980, 0).stitch(0, 0).colourChange().jumpTo(980, -480).stitch(0, 0);
    b.colourChange().jumpTo(500, -200);
    b.raw(0x22, 0x00, 0x03); // -1 x, +9 y (up in the file, so up on the surface)
    const auto file = b.fullyReadFile();
    const ReplayStitches s = readReplayStitches(file, 1000, 800);

    ASSERT_EQ(s.status, ReplayReadStatus::Read);
    ASSERT_EQ(s.Fstitchs, static_cast<int>(b.recordCount()));
    EXPECT_EQ(s.Fcolors, 3);
    EXPECT_EQ(s.extent.width(), 1000);
    EXPECT_EQ(s.extent.height(), 500);
    EXPECT_DOUBLE_EQ(s.fit.q, 1);
    EXPECT_EQ(s.fit.offY, 150);

    const TPoint3F& first = s.records.front();
    EXPECT_FLOAT_EQ(first.X, 10);
    EXPECT_FLOAT_EQ(first.Y, 160);
    EXPECT_EQ(first.Z, 0x03);
    // The lowest point of the design lies 10 pixels above the extent's lower edge (650).
    const auto lowest = std::find_if(s.records.begin(), s.records.end(),
                                     [](const TPoint3F& r) { return r.Y > 639; });
    ASSERT_NE(lowest, s.records.end());
    EXPECT_FLOAT_EQ(lowest->X, 990);
    EXPECT_FLOAT_EQ(lowest->Y, 640);
    const TPoint3F& last = s.records.back();
    const TPoint3F& beforeLast = s.records[s.records.size() - 2];
    EXPECT_FLOAT_EQ(last.X - beforeLast.X, -1);
    EXPECT_FLOAT_EQ(last.Y - beforeLast.Y, -9);

    // A 5 mm sequin with a 1.5 mm hole, at one pixel per unit.
    EXPECT_NEAR(s.Fsequinsizez, 8.7 * 2.83465, 1e-4);
    EXPECT_NEAR(s.Fsequinsizelz, 2.61 * 2.83465, 1e-4);
}

TEST(ReplayRead, RecordCountComesFromTheFileSizeAsInTheViewer)
{
    // A machine's file ends with an end record and an end-of-file byte: the replay leaves out
    // the end record and the last stitch before it, as the viewer's reader does.
    DstBuilder b;
    for (int i = 0; i < 10; ++i)
        b.stitch(10, 0);
    EXPECT_EQ(readReplayStitches(b.machineFile(), 800, 600).Fstitchs, 9);
    EXPECT_EQ(readReplayStitches(b.fullyReadFile(), 800, 600).Fstitchs, 10);
}

TEST(ReplayRead, FilesWithoutRecordsGiveNothingToReplay)
{
    testsupport::TempDir dir;
    const std::vector<std::uint8_t> header(512, ' ');

    std::vector<std::uint8_t> tooShort = header;
    tooShort.resize(522, 0);
    const ReplayStitches none = readReplayStitches(tooShort, 800, 600);
    EXPECT_EQ(none.status, ReplayReadStatus::TooShort);
    EXPECT_TRUE(none.empty());

    std::vector<std::uint8_t> oneRecord = header;
    oneRecord.resize(523, 0);
    oneRecord[514] = 0x03;
    const ReplayStitches one = readReplayStitches(oneRecord, 800, 600);
    EXPECT_EQ(one.status, ReplayReadStatus::Read);
    EXPECT_EQ(one.Fstitchs, 1);

    const ReplayStitches missing = loadstitches(dir.file("gone.dst"), 800, 600);
    EXPECT_EQ(missing.status, ReplayReadStatus::CannotOpen);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_TRUE(missing.empty());
    const ReplayStitches folder = loadstitches(dir.path().string(), 800, 600);
    EXPECT_EQ(folder.status, ReplayReadStatus::CannotOpen);

    testsupport::writeFile(dir.file("ROSE.DST"), oneRecord);
    EXPECT_EQ(loadstitches(dir.file("ROSE.DST"), 800, 600).Fstitchs, 1);
}
