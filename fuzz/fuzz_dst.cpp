// Any bytes as a DST file: reading, scaling and the colour table must stay inside the input.
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
    return 0;
}
