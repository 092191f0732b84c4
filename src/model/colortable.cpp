#include "colortable.h"

#include "palette.h"
#include "tembs.h"

namespace loomscope {

std::vector<TColor> colorTableFromBlocks(const Tembs& design)
{
    std::vector<TColor> table(static_cast<std::size_t>(std::max(design.colorcount(), 0)));
    // The file's own threads where it names them (a colour block may hold no stitches, so
    // no block carries its colour), else the palette; then what the blocks show.
    const std::vector<TColor>& threads = design.threadColours();
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = i < threads.size() ? threads[i] : paletteColor(static_cast<int>(i));
    int previous = -1;
    bool first = true;
    for (const TGraphObject* block : design.Graphlist()) {
        if (first || block->FColorindex != previous) {
            const auto i = static_cast<std::size_t>(block->FColorindex);
            if (i < table.size())
                table[i] = block->FColor;
        }
        previous = block->FColorindex;
        first = false;
    }
    return table;
}

} // namespace loomscope
