#include "coloursequence.h"

#include "model/tembs.h"

#include <algorithm>

namespace loomscope {

ColourGrids fillFromDesign(const Tembs& design, std::span<const TColor> colourTable)
{
    ColourGrids grids;
    const auto count = static_cast<std::size_t>(std::max(design.colorcount(), 0));
    grids.steps.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        grids.steps[i].colour = i < colourTable.size() ? colourTable[i] : kBlankSwatchColour;
    grids.palette.resize(kPaletteEntries);

    std::size_t used = 0;
    int last = -1;
    for (const TGraphObject* block : design.Graphlist()) {
        const int index = block->FColorindex;
        if (index == last)
            continue;
        last = index;
        if (index < 0 || static_cast<std::size_t>(index) >= count)
            continue;
        const Swatch step{block->FColor, block->FColorname};
        grids.steps[static_cast<std::size_t>(index)] = step;
        // Blank entries are no colours of the palette: a white thread is added with its name.
        const auto end = grids.palette.begin() + static_cast<std::ptrdiff_t>(used);
        const bool known = std::any_of(grids.palette.begin(), end, [&](const Swatch& entry) {
            return entry.colour == step.colour;
        });
        if (index < kPaletteStepsFromDesign && !known && used < grids.palette.size())
            grids.palette[used++] = step;
    }
    return grids;
}

std::vector<Swatch> paletteFromSteps(std::span<const Swatch> steps)
{
    std::vector<Swatch> palette(kPaletteEntries);
    std::size_t used = 0;
    for (const Swatch& step : steps) {
        if (used == palette.size())
            break;
        const auto end = palette.begin() + static_cast<std::ptrdiff_t>(used);
        if (std::none_of(palette.begin(), end,
                         [&](const Swatch& entry) { return entry.colour == step.colour; }))
            palette[used++] = {step.colour, {}};
    }
    return palette;
}

int embirdStepCount(int colourCount)
{
    return colourCount >= 340 ? 255 : std::max(colourCount, 0);
}

EmbirdSteps embirdSteps(std::span<const TColor> fileColours, int colourCount)
{
    const auto wanted = static_cast<std::size_t>(embirdStepCount(colourCount));
    const std::size_t available = std::min(wanted, fileColours.size());
    return {{fileColours.begin(), fileColours.begin() + static_cast<std::ptrdiff_t>(available)},
            available == wanted};
}

std::string cardNameForSave(std::string_view chartName)
{
    return chartName.empty() ? std::string("Default") : std::string(chartName);
}

} // namespace loomscope
