#pragma once

#include "model/colour.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

class Tembs;

// What the colour panel's two grids hold: the design's colour sequence (one swatch per colour
// step) and a palette of 25 swatches to give steps their threads from.

struct Swatch {
    TColor colour = 0xFFFFFF;
    std::string name; // thread code or name, UTF-8
    friend bool operator==(const Swatch&, const Swatch&) = default;
};

// An empty palette entry: white, no name.
inline constexpr TColor kBlankSwatchColour = 0xFFFFFF;
inline constexpr int kPaletteEntries = 25;
// Only the first steps of a design go into the palette, leaving the last entry free.
inline constexpr int kPaletteStepsFromDesign = 24;

struct ColourGrids {
    std::vector<Swatch> steps;   // one per colour index of the design
    std::vector<Swatch> palette; // kPaletteEntries
};

// The grids of a design: every step gets the colour and thread name of its blocks (the first
// block of each run of one colour index); a step without blocks (two colour changes in a row)
// gets the colour the view draws it with, `colourTable[index]`, and no name. The palette gets
// the colours of the first 24 steps in order, each colour once, then blank entries.
ColourGrids fillFromDesign(const Tembs& design, std::span<const TColor> colourTable);

// The palette made again from the steps (after an Embird file replaced their colours): the
// first 25 distinct colours, without names, then blank entries.
std::vector<Swatch> paletteFromSteps(std::span<const Swatch> steps);

// How many colours an Embird file gives a design of `colourCount` colours. Designs of 340
// colours or more take 255, the most such files were made for; fewer are taken as they are.
int embirdStepCount(int colourCount);

struct EmbirdSteps {
    std::vector<TColor> colours; // for steps 0, 1, …
    bool complete = true;        // false: the file ran out before the last step
};
EmbirdSteps embirdSteps(std::span<const TColor> fileColours, int colourCount);

// The colour card written into a side file: the chart box's text, "Default" when it is empty.
std::string cardNameForSave(std::string_view chartName);

} // namespace loomscope
