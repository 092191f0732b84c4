// Every real design beside the project replayed to its end: it lies inside the drawing area,
// agrees with the viewer's reader on records and colours, and finishes with the counters the
// window shows. Skipped when the files are not there.
#include "animate/replaystepper.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "testenv.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace loomscope;

namespace {

struct CountingSink : ReplaySink {
    void line(TPointF, TPointF, TColor, int) override { ++drawn; }
    void dashedLine(TPointF, TPointF, TColor, int) override { ++drawn; }
    void outline(std::span<const TPointF>, TColor, int) override { ++drawn; }
    void point(TPointF, TColor, int) override { ++drawn; }
    long drawn = 0;
};

} // namespace

TEST(ReplayCorpus, EveryRealDesignReplaysToItsEnd)
{
    const auto dir = testsupport::corpusDir();
    if (!dir)
        GTEST_SKIP() << "no corpus of real designs beside the project";
    int designs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(*dir)) {
        if (!hasDstExtension(entry.path().string()))
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++designs;
        const int width = 1366;
        const int height = 728;
        ReplayStitches s = loadstitches(entry.path().string(), width, height);
        if (s.empty())
            continue;

        Tembs viewer;
        viewer.loadfromfile(entry.path().string());
        EXPECT_EQ(s.Fstitchs, viewer.stitchs());
        EXPECT_EQ(s.Fcolors, viewer.colorcount());

        // Inside the area, touching two opposite edges of it but for the margin.
        float minX = width, minY = height, maxX = 0, maxY = 0;
        for (const TPoint3F& r : s.records) {
            minX = std::min(minX, r.X);
            maxX = std::max(maxX, r.X);
            minY = std::min(minY, r.Y);
            maxY = std::max(maxY, r.Y);
        }
        EXPECT_GE(minX, 0);
        EXPECT_GE(minY, 0);
        EXPECT_LE(maxX, width);
        EXPECT_LE(maxY, height);
        const float margin = static_cast<float>(10 * s.fit.q) + 1;
        EXPECT_TRUE((minX <= margin && maxX >= width - margin) ||
                    (minY <= margin && maxY >= height - margin));

        int changesSewn = 0;
        for (int k = 0; k + 1 < s.Fstitchs; ++k)
            changesSewn += s.records[static_cast<std::size_t>(k)].Z == kColourChange;
        const int n = s.Fstitchs;
        ReplayStepper stepper(std::move(s), [](int) { return TColor{0x3366CC}; });
        CountingSink sink;
        int ticks = 0;
        while (!stepper.finished()) {
            stepper.tick(sink, 10, 3, true);
            ++ticks;
        }
        EXPECT_EQ(ticks, std::max(1, (n - 2) / 10 + 1));
        EXPECT_EQ(stepper.stitchCounter(),
                  "针数：" + std::to_string(std::max(n - 1, 1)) + " / " + std::to_string(n));
        EXPECT_EQ(stepper.lc(), 1 + changesSewn);
        EXPECT_GE(sink.drawn, 2L * std::max(n - 1, 1));
    }
    EXPECT_GT(designs, 0);
}
