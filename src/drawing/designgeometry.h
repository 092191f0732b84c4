#pragma once

// Vertex arrays of a design for the two show types, built once per change of scale, colours,
// colour cursor or switches and then drawn as often as needed. Positions are model units
// relative to the design's centre; the drawer adds the centre's place on screen.

#include "model/colour.h"
#include "threadlook.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace loomscope {

class Tembs;

// The colour of colour index k: its thread colour once the colour cursor has passed it, black
// before. Indices outside the table keep their default palette colour.
TColor cursorColour(int index, const std::vector<TColor>& colours, int cursor);

struct LineVertex {
    float x, y;
    std::uint8_t r, g, b, a;
};
static_assert(sizeof(LineVertex) == 12);

struct LineCommand {
    int first = 0; // vertex index into LineGeometry::lines
    int count = 0;
    bool dashed = false; // the machine-code link into a block
};

// Stitch lines: every stitch and sequin outline as a pair of line vertices in the block's
// colour, in sewing order, with the dashed links between blocks; white stitch points; and the
// black start and stop marks of each block, which keep their size in pixels.
struct LineGeometry {
    std::vector<LineVertex> lines;
    std::vector<LineCommand> commands;
    std::vector<float> points; // x, y pairs
    std::vector<LineVertex> marks;
};

struct LineOptions {
    bool showPoints = false;
    bool showCodes = false; // machine codes: dashed links and start and stop marks
    float sequinOuter = 0;  // radii in pixels
    float sequinHole = 0;
};

LineGeometry buildLineGeometry(const Tembs& design, const std::vector<TColor>& colours, int cursor,
                               const LineOptions& options);

// A smoothed line one pixel wide as geometry: one quadrilateral 1.5 pixels wide around the
// line, whose texture coordinate t runs from 0 on one long edge to 1 on the other; drawn with
// a small alpha texture that is opaque in the middle and fades at both edges (the coverage a
// smoothed line has). Drawn with blending they need no help from the driver, and the geometry
// is built once per zoom instead of by the driver in every frame.
struct StrokeVertex {
    float x, y, t;
    std::uint8_t r, g, b, a;
};
static_assert(sizeof(StrokeVertex) == 16);
inline constexpr float kStrokeHalfWidth = 0.75f;
// Four stroke vertices for every pair of line vertices.
std::vector<StrokeVertex> smoothStrokes(const std::vector<LineVertex>& pairs);
// The alpha across a stroke, texels for t from 0 to 1: their mean times the stroke's width is
// one pixel's worth, the coverage of a one-pixel line.
inline constexpr std::uint8_t kStrokeProfile[8] = {32, 160, 255, 255, 255, 255, 160, 32};

enum class ThreadDraw {
    Bands,         // textured quadrilaterals, with the thread texture of `texture`
    SequinFill,    // untextured quadrilaterals in the sequin colour
    SequinOutline, // untextured black lines
};

struct ThreadCommand {
    ThreadDraw kind = ThreadDraw::Bands;
    int first = 0; // vertex index into ThreadGeometry::vertices
    int count = 0;
    int texture = -1; // index into ThreadGeometry::threadColours for bands
};

// The thread look: three textured quadrilaterals per stitch, and a filled, outlined ring per
// sequin drawn before the band that ends on it.
struct ThreadGeometry {
    std::vector<ThreadVertex> vertices;
    std::vector<ThreadCommand> commands;
    std::vector<TColor> threadColours; // one thread texture each
};

struct ThreadOptions {
    float halfWidth = 0.9f;
    float sequinOuter = 0;
    float sequinHole = 0;
    TColorVector sequinColour;
};

ThreadGeometry buildThreadGeometry(const Tembs& design, const std::vector<TColor>& colours,
                                   int cursor, const ThreadOptions& options);
// The same in consecutive pieces of about `maxVertices` vertices, handed to `emit` in drawing
// order (a one-off picture need never hold the whole design's geometry at once). Every
// piece's texture indices refer to its own threadColours list.
void buildThreadGeometryInPieces(const Tembs& design, const std::vector<TColor>& colours,
                                 int cursor, const ThreadOptions& options, std::size_t maxVertices,
                                 const std::function<void(ThreadGeometry&&)>& emit);

} // namespace loomscope
