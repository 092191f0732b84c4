// Any bytes as a DST file: reading, scaling, the colour table and both thumbnail drawers must
// stay inside the input and their pictures.
#include "browser/pngwriter.h"
#include "browser/thumbnaildrawing.h"
#include "model/colortable.h"
#include "model/tembs.h"

#include <cstddef>
#include <cstdint>

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
    if (loomscope::encodePng(loomscope::drawFileManagerThumbnail(design, 64)).empty())
        __builtin_trap();
    design.chuangkou(100, 100);
    loomscope::PixelCanvas list(100, 100);
    loomscope::drawListThumbnail(design, list);
    return 0;
}
