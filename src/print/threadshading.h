#pragma once

// Colours of the printed design: a thread that would vanish on white paper, and the shading
// that makes a printed stitch look like a thread (dark at both ends, light along its middle).

#include "model/colour.h"

#include <array>

namespace loomscope {

// The colour with its HSL lightness moved by d (lightness 0..1, clamped).
TColor lighten(TColor colour, double d);

// Pure white thread is drawn light grey (EEEEEE) so that it shows on paper.
constexpr TColor paperColour(TColor colour)
{
    return (colour & 0xFFFFFFu) == 0xFFFFFFu ? 0xEEEEEEu : colour;
}

struct ShadeStop {
    double position; // 0 at the first point of the stitch, 1 at the second
    TColor colour;
};
// Dark (lightness -0.2) at both ends, the thread colour at 0.15 and 0.85, light (+0.1) from
// 0.25 to 0.75.
std::array<ShadeStop, 6> threadShadeStops(TColor colour);

// The same shading in three solid bands laid over each other, for vector output where one
// gradient object per stitch would make a page of 100,000 stitches a file of over 100 MB: the
// whole stitch in the mean colour of its dark ends, 0.15 to 0.85 in the mean of the thread
// colour and the light, and 0.25 to 0.75 light.
struct ShadeBand {
    double from;
    double to;
    TColor colour;
};
std::array<ShadeBand, 3> threadShadeBands(TColor colour);

// Halfway between two colours, per channel, rounded.
TColor midColour(TColor a, TColor b);

} // namespace loomscope
