// Any bytes as a colour-sequence side file, applied to designs of 1 to 8 colours.
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "model/tembs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int colours = size > 0 ? data[0] % 8 + 1 : 1;
    loomscope::tools::DstBuilder b;
    for (int i = 0; i < colours; ++i) {
        if (i > 0)
            b.colourChange();
        b.stitch(0, 0).stitch(5, 5).stitch(5, -5);
    }
    loomscope::Tembs design;
    design.readdstbytes(b.fullyReadFile());
    const auto result = design.applycolorsequence({data, size});
    if (result.status == loomscope::ColorFileStatus::Applied) {
        // What was read must write back into a file that reads the same.
        std::vector<loomscope::TColor> colors;
        std::vector<std::string> names;
        for (const loomscope::TGraphObject* block : design.Graphlist()) {
            colors.push_back(block->FColor);
            names.push_back(block->FColorname);
        }
        loomscope::ColorSequence back;
        const auto bytes = loomscope::encodeColorSequence(design.colorcard(), colors, names);
        if (loomscope::parseColorSequence(bytes, -1, back) != loomscope::ColorFileStatus::Applied)
            __builtin_trap();
    }
    return 0;
}
