#pragma once

#include "model/colour.h"

namespace loomscope {

// CIE L*a*b* under the D65 white point, from an sRGB colour.
struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

Lab labFromColour(TColor colour);

// The CIEDE2000 colour difference (kL = kC = kH = 1): about 1 where people just see a
// difference, and far more even across hues than a distance in RGB.
double ciede2000(const Lab& first, const Lab& second);

} // namespace loomscope
