#pragma once

// The thread look: how one stitch becomes a shaded, textured band of thread. Shared by the
// viewer and the picture export, which differ only in the band's half width.

#include "model/colour.h"
#include "model/geometry.h"

#include <array>
#include <cstdint>

namespace loomscope {

inline constexpr int kThreadTextureWidth = 32;  // along the thread: two twists
inline constexpr int kThreadTextureHeight = 16; // across it; the outer rows are transparent
using ThreadTexturePixels =
    std::array<std::uint8_t, kThreadTextureWidth * kThreadTextureHeight * 4>;

// The fixed grey-and-alpha picture of two twists of thread; row 0 is texture t = 0.
std::uint8_t threadbaseGrey(int column, int row);
std::uint8_t threadbaseAlpha(int column, int row);

// The brightness factor of one channel of a thread colour: black thread is still dark grey.
int threadChannelFactor(int channel);
// The RGBA texture of one thread colour, rows of 32 texels from t = 0.
ThreadTexturePixels makelighttexture(TColor colour);

// Half widths of a band in pixels at a given scale.
inline float viewerBandHalfWidth(float scale)
{
    return scale * 0.9f > 0.63f ? scale * 0.9f : 0.63f;
}
inline float exportBandHalfWidth(float scale)
{
    return scale * 0.95f > 0.63f ? scale * 0.95f : 0.63f;
}

// Whether a band from P to C runs forward (from P): every band runs from its left end to its
// right end, a vertical one from its lower end upwards on screen.
bool bandforward(TPointF previous, TPointF current);

// One band from A to B with half width w: corners, the inner points one cap length in from each
// end, and the texture lengths of a cap and of the middle (one repeat covers 8 w).
struct ThreadBand {
    TPointF startPlus, startMinus, endPlus, endMinus;                     // A+, A-, B+, B-
    TPointF innerStartPlus, innerStartMinus, innerEndPlus, innerEndMinus; // Am+, Am-, Bm+, Bm-
    float cap = 0;
    float mid = 0;
};
ThreadBand stitchband(TPointF a, TPointF b, float w);

// One vertex of a band: position, texture coordinates and a grey vertex colour that the
// texture is multiplied by.
struct ThreadVertex {
    float x, y, s, t;
    std::uint8_t r, g, b, a;
};
static_assert(sizeof(ThreadVertex) == 20);

// The three quadrilaterals of a band (start cap, middle, end cap), four vertices each, with
// twist phase r: 100/255 bright where the thread enters the fabric at the start, full one cap
// in, 150/255 at the end.
std::array<ThreadVertex, 12> bandQuads(const ThreadBand& band, float r);

// The twist phase of stitch number k of a design (0, 0.1 ... 0.4): fixed for a stitch, so a
// design looks the same on every frame and in every picture made of it.
float twistPhase(std::uint32_t stitchNumber);

} // namespace loomscope
