// Stepping the replay: what each tick draws, the counters, finishing, restart, sequins and the
// stitches that follow jumps.
#include "animate/replaystepper.h"
#include "dstbuilder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

struct Drawn {
    enum Kind { Line, Dashed, Outline, Point } kind;
    TPointF from;
    TPointF to;
    TColor colour;
    int width;
    std::vector<TPointF> points;
};

struct RecordingSink : ReplaySink {
    void line(TPointF a, TPointF b, TColor c, int w) override
    {
        drawn.push_back({Drawn::Line, a, b, c, w, {}});
    }
    void dashedLine(TPointF a, TPointF b, TColor c, int w) override
    {
        drawn.push_back({Drawn::Dashed, a, b, c, w, {}});
    }
    void outline(std::span<const TPointF> p, TColor c, int w) override
    {
        drawn.push_back({Drawn::Outline, {}, {}, c, w, {p.begin(), p.end()}});
    }
    void point(TPointF a, TColor c, int size) override
    {
        drawn.push_back({Drawn::Point, a, a, c, size, {}});
    }
    std::vector<Drawn> drawn;
};

// Thread colour i of a viewer with clearly different colours per index.
TColor threadColour(int i)
{
    return rgb(30 + 40 * i, 200 - 30 * i, 100);
}

// Records at the given surface positions with the given control bytes.
ReplayStitches laidOut(std::initializer_list<TPoint3F> records)
{
    ReplayStitches s;
    s.status = ReplayReadStatus::Read;
    s.records = records;
    s.Fstitchs = static_cast<int>(s.records.size());
    s.Fcolors = 1;
    for (const TPoint3F& r : s.records)
        s.Fcolors += r.Z == kColourChange;
    s.Fsequinsizez = 20;
    s.Fsequinsizelz = 6;
    return s;
}

ReplayStitches fromFile(const DstBuilder& b)
{
    return readReplayStitches(b.fullyReadFile(), 1000, 800);
}

} // namespace

TEST(ReplayStepper, StitchIsDrawnWithDarkerEnds)
{
    ReplayStepper stepper(laidOut({{0, 0, 0x03}, {60, 0, 0x03}, {60, 0, 0x03}}),
                          [](int) { return rgb(30, 200, 100); });
    RecordingSink sink;
    stepper.tick(sink, 1, 3, false);

    ASSERT_EQ(sink.drawn.size(), 3u);
    const TColor dark = rgb(0, 150, 50); // 30 - 50 stops at 0
    auto expectLine = [](const Drawn& d, float from, float to, TColor colour) {
        EXPECT_EQ(d.kind, Drawn::Line);
        EXPECT_FLOAT_EQ(d.from.x, from);
        EXPECT_FLOAT_EQ(d.to.x, to);
        EXPECT_EQ(d.colour, colour);
        EXPECT_EQ(d.width, 3);
    };
    expectLine(sink.drawn[0], 0, 10, dark);
    expectLine(sink.drawn[1], 50, 60, dark);
    expectLine(sink.drawn[2], 10, 50, rgb(30, 200, 100));
    EXPECT_EQ(darkened(rgb(49, 50, 255)), rgb(0, 0, 205));
}

TEST(ReplayStepper, CountersAndColoursFollowTheRecords)
{
    // Three colour changes: four colours, each taken from the viewer when its change is sewn.
    DstBuilder b;
    b.stitch(0, 0).stitch(20, 0).stitch(20, 0);
    for (int i = 0; i < 3; ++i)
        b.colourChange().stitch(0, 10).stitch(20, 0).stitch(20, 0);
    b.stitch(10, 10).stitch(10, 10);
    ReplayStepper stepper(fromFile(b), threadColour);
    const int n = stepper.stitches().Fstitchs;
    ASSERT_EQ(stepper.stitches().Fcolors, 4);

    RecordingSink sink;
    stepper.tick(sink, 1, 3, false);
    EXPECT_EQ(stepper.stitchCounter(), "针数：2 / " + std::to_string(n));
    EXPECT_EQ(stepper.colourCounter(), "色序：1 / 4");
    EXPECT_EQ(sink.drawn.back().colour, threadColour(0));

    std::vector<TColor> middles; // the thread colour of every stitch drawn
    while (!stepper.finished()) {
        sink.drawn.clear();
        stepper.tick(sink, 1, 1, false);
        if (sink.drawn.size() == 3)
            middles.push_back(sink.drawn[2].colour);
    }
    EXPECT_EQ(stepper.stitchCounter(),
              "针数：" + std::to_string(n - 1) + " / " + std::to_string(n));
    EXPECT_EQ(stepper.colourCounter(), "色序：4 / 4");
    for (int colour = 1; colour <= 3; ++colour)
        EXPECT_NE(std::find(middles.begin(), middles.end(), threadColour(colour)), middles.end())
            << "colour " << colour << " never sewn";
    EXPECT_EQ(middles.back(), threadColour(3));
}

TEST(ReplayStepper, FinishesInTheThirdTickAndDrawsTheLastRecordOnce)
{
    // 25 records at 10 a tick: records 0-9, 10-19, then 20-23 (the last drawn stitch runs from
    // record 23 to record 24). The last record is a colour change: drawn once, it counts once.
    DstBuilder b;
    for (int i = 0; i < 23; ++i)
        b.stitch(5, 0);
    b.colourChange().stitch(5, 0);
    ReplayStepper stepper(fromFile(b), threadColour);
    ASSERT_EQ(stepper.stitches().Fstitchs, 25);

    RecordingSink sink;
    int ticks = 0;
    while (!stepper.finished() && ticks < 10) {
        stepper.tick(sink, 10, 3, false);
        ++ticks;
    }
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(stepper.ln(), 23);
    EXPECT_EQ(stepper.lc(), 2);
    EXPECT_EQ(stepper.colourCounter(), "色序：2 / 2");
    EXPECT_EQ(sink.drawn.size(), 23u * 3 + 1); // 23 stitches and the change's travel

    sink.drawn.clear();
    stepper.tick(sink, 10, 3, false);
    EXPECT_TRUE(sink.drawn.empty());
}

TEST(ReplayStepper, RestartSewsAgainInColourZero)
{
    DstBuilder b;
    b.stitch(0, 0).stitch(10, 0).colourChange().stitch(10, 0).colourChange().stitch(10, 0);
    b.stitch(10, 0).stitch(10, 0);
    ReplayStepper stepper(fromFile(b), threadColour);
    RecordingSink sink;
    while (!stepper.finished())
        stepper.tick(sink, 10, 3, false);
    ASSERT_EQ(stepper.fcolor(), threadColour(2));

    stepper.restart();
    EXPECT_FALSE(stepper.finished());
    EXPECT_EQ(stepper.ln(), 0);
    EXPECT_EQ(stepper.lc(), 1);
    sink.drawn.clear();
    stepper.tick(sink, 1, 3, false);
    ASSERT_EQ(sink.drawn.size(), 3u);
    EXPECT_EQ(sink.drawn[2].colour, threadColour(0));
    EXPECT_EQ(stepper.colourCounter(), "色序：1 / 3");
}

TEST(ReplayStepper, TravelsAreDashedAndEveryStitchByteSews)
{
    // A jump, then a stitch whose control byte is 0x2B (a -81 x, +81 y move): it must sew, not
    // travel. A byte of 0x50 (neither stitch nor break) keeps whatever went before.
    ReplayStepper stepper(laidOut({{0, 0, 0x03},
                                   {10, 0, 0x83},
                                   {50, 0, 0x2B},
                                   {60, 0, 0x50},
                                   {70, 0, 0x83},
                                   {80, 0, 0x50},
                                   {90, 0, 0x03},
                                   {95, 0, 0x03}}),
                          threadColour);
    RecordingSink sink;
    std::vector<Drawn::Kind> kinds;
    while (!stepper.finished()) {
        sink.drawn.clear();
        stepper.tick(sink, 1, 1, false);
        kinds.push_back(sink.drawn.front().kind);
        if (sink.drawn.front().kind == Drawn::Dashed) {
            EXPECT_EQ(sink.drawn.front().colour, threadColour(0)) << "the colour last drawn with";
        }
    }
    const std::vector<Drawn::Kind> expected = {Drawn::Line, Drawn::Dashed, Drawn::Line,
                                               Drawn::Line, Drawn::Dashed, Drawn::Dashed,
                                               Drawn::Line};
    EXPECT_EQ(kinds, expected);

    // With stitch points on, each record gets a white point, and a travel after it is white.
    stepper.restart();
    sink.drawn.clear();
    stepper.tick(sink, 2, 1, true);
    ASSERT_EQ(sink.drawn.size(), 6u);
    EXPECT_EQ(sink.drawn[3].kind, Drawn::Point);
    EXPECT_EQ(sink.drawn[3].colour, 0xFFFFFFu);
    EXPECT_EQ(sink.drawn[3].width, 2);
    EXPECT_EQ(sink.drawn[4].kind, Drawn::Dashed);
    EXPECT_EQ(sink.drawn[4].colour, 0xFFFFFFu);
}

TEST(ReplayStepper, SequinSectionsDrawTwoRingsAtEveryBreak)
{
    ReplayStepper stepper(laidOut({{0, 0, 0x03},
                                   {100, 100, 0x43},
                                   {110, 100, 0x03},
                                   {120, 100, 0x83},
                                   {130, 100, 0x03},
                                   {140, 100, 0x83},
                                   {150, 100, 0x43},
                                   {160, 100, 0x03},
                                   {170, 100, 0x83},
                                   {180, 100, 0x03},
                                   {190, 100, 0x03}}),
                          threadColour);
    RecordingSink sink;
    while (!stepper.finished())
        stepper.tick(sink, 10, 3, false);
    std::vector<Drawn> rings;
    for (const Drawn& d : sink.drawn)
        if (d.kind == Drawn::Outline)
            rings.push_back(d);
    ASSERT_EQ(rings.size(), 4u); // two sequins inside the section, none after it
    EXPECT_FALSE(stepper.fliang());
    for (std::size_t i = 0; i < rings.size(); ++i) {
        const Drawn& ring = rings[i];
        ASSERT_EQ(ring.points.size(), 50u);
        const float centreX = i < 2 ? 120 : 140;
        const float radius = i % 2 == 0 ? 6 : 20; // the hole first, then the rim
        EXPECT_NEAR(ring.points[0].x, centreX + radius, 1e-4);
        EXPECT_NEAR(ring.points[0].y, 100, 1e-4);
        EXPECT_NEAR(ring.points[25].x, centreX - radius, 1e-4); // half way round
        EXPECT_NEAR(ring.points[12].y, 100 + radius * std::sin(12 * 2 * M_PI / 50), 1e-4);
        EXPECT_EQ(ring.colour, threadColour(0));
    }
}

TEST(ReplayStepper, ASingleRecordDesignFinishesWithoutReadingPastIt)
{
    ReplayStepper stepper(laidOut({{40, 40, 0x03}}), threadColour);
    RecordingSink sink;
    stepper.tick(sink, 10, 3, false);
    EXPECT_TRUE(stepper.finished());
    ASSERT_EQ(sink.drawn.size(), 3u);
    EXPECT_FLOAT_EQ(sink.drawn[2].to.x, 40);
    EXPECT_EQ(stepper.stitchCounter(), "针数：1 / 1");
}
