// Any bytes as a DST file: reading, scaling and the colour table must stay inside the input,
// and so must the stitch-out replay, read and stepped to its end.
#include "animate/replaystepper.h"
// Any bytes as a DST file: reading, scaling, the colour table and both thumbnail drawers must
// stay inside the input and their pictures.
#include "browser/pngwriter.h"
#include "browser/thumbnaildrawing.h"
#include "model/colortable.h"
#include "model/tembs.h"

#include <cstddef>
#include <cstdint>

namespace {

struct NoDrawing : loomscope::ReplaySink {
    void line(loomscope::TPointF, loomscope::TPointF, loomscope::TColor, int) override {}
    void dashedLine(loomscope::TPointF, loomscope::TPointF, loomscope::TColor, int) override {}
    void outline(std::span<const loomscope::TPointF>, loomscope::TColor, int) override {}
    void point(loomscope::TPointF, loomscope::TColor, int) override {}
};

void replay(const std::uint8_t* data, std::size_t size)
{
    loomscope::ReplayStepper stepper(loomscope::readReplayStitches({data, size}, 640, 480),
                                     [](int i) { return loomscope::TColor(i * 40503u); });
    NoDrawing sink;
    while (!stepper.finished())
        stepper.tick(sink, 10, 3, true);
    if (!stepper.stitches().empty() && stepper.lc() > stepper.stitches().Fcolors)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    loomscope::Tembs design;
    design.readdstbytes({data, size});
    design.Setscale(1.2f);
    design.chuangkou(640, 480);
    design.yibiyi();
    const auto table = loomscope::colorTableFromBlocks(design);
    for (const loomscope::TGraphObject* block : design.Graphlist())
        if (block->FPointList.size() < 2 || block->FColorindex >= static_cast<int>(table.size()))
            __builtin_trap();
    replay(data, size);
    if (loomscope::encodePng(loomscope::drawFileManagerThumbnail(design, 64)).empty())
        __builtin_trap();
    design.chuangkou(100, 100);
    loomscope::PixelCanvas list(100, 100);
    loomscope::drawListThumbnail(design, list);
    return 0;
}
