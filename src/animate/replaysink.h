#pragma once

#include "model/colour.h"
#include "model/geometry.h"

#include <span>

namespace loomscope {

// What the stitch-out replay draws, in surface pixels. The window draws it into its picture;
// tests record it. Every call adds to what is there: nothing is ever erased.
class ReplaySink {
public:
    virtual ~ReplaySink() = default;
    // A solid segment with flat ends.
    virtual void line(TPointF from, TPointF to, TColor colour, int width) = 0;
    // A travel: dashes of 8 pixels and gaps of 8, beginning with a dash at `from`.
    virtual void dashedLine(TPointF from, TPointF to, TColor colour, int width) = 0;
    // A closed outline through the points.
    virtual void outline(std::span<const TPointF> points, TColor colour, int width) = 0;
    // A square point `size` pixels wide centred on `at`.
    virtual void point(TPointF at, TColor colour, int size) = 0;
};

} // namespace loomscope
