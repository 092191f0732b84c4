#pragma once

// How a design looks wherever it is drawn: the background or the tinted fabric under it, the
// sequins, and the thread colour of every colour index. The view keeps one; a picture export
// takes a copy of it; other drawers are handed one, so no window keeps a copy of its own.

#include "fabrictile.h"
#include "model/colour.h"
#include "model/units.h"

#include <vector>

namespace loomscope {

inline constexpr TColor kDefaultBackcolor = 0xEEEEEE;

struct DesignLook {
    TColor backcolor = kDefaultBackcolor;
    bool fabric = false; // the fabric picture is shown under the design
    TColor fabricTint = 0xFFFFFF;
    RgbPicture fabricPicture;
    float sequinOuterMm = kDefaultSequinOuterMm; // diameters
    float sequinHoleMm = kDefaultSequinHoleMm;
    TColor sequincolor = 0;
    std::vector<TColor> colours; // the thread colour of each colour index
};

// Text drawn over a design stands out from what lies under it: the complement of the fabric's
// tint while a fabric is shown, else of the background colour.
constexpr TColor textColourOver(TColor backcolor, bool fabric, TColor fabricTint)
{
    return complementOf(fabric ? fabricTint : backcolor);
}

} // namespace loomscope
