#pragma once

#include "colour.h"

#include <string>
#include <vector>

namespace loomscope {

// The default thread palette: 52 colours (20 base colours, the same 20 again, then the first
// 12) repeated three times, 156 entries. Colour index k of a freshly read design gets entry k.
inline constexpr int kPaletteSize = 156;

// Entry `index` of the default palette. Designs with more than 155 colour changes go on with
// the same 52-colour cycle, so index 156 is the colour of index 0 and every index >= 0 has a
// defined colour; negative indices give entry 0.
TColor paletteColor(int index);

// The palette as the decimal texts a design keeps in its palette list.
std::vector<std::string> paletteTexts();

} // namespace loomscope
