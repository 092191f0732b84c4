#pragma once

// The arithmetic of the printed page. A page is 595 x 840 units; on a canvas every position is
// multiplied by the page scale f (1 for the preview, printer pixels per unit for paper) and
// rounded, so the preview and the printout are the same page at two sizes.

#include <optional>

namespace loomscope {

class Tembs;

struct PagePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PagePoint&, const PagePoint&) = default;
};

// Edges as the canvas takes them: right and bottom are the edges, not the last pixel.
struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // The integer centre, halves dropped.
    PagePoint centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    friend bool operator==(const PageRect&, const PageRect&) = default;
};

inline constexpr int kPageWidth = 595;
inline constexpr int kPageHeight = 840;
// Where the design goes: 555 x 640 units below the heading blocks.
inline constexpr PageRect kFrame{20, 80, 575, 720};

// How long a page unit is on paper. The page is laid out for A4 in points, and a printer or
// PDF scales it to its page (f = printer pixels per unit), so a unit is about a point; the
// exact length follows from the target's page scale and resolution.
inline constexpr double kPointMillimetres = 25.4 / 72;
double unitMillimetres(double f, double dotsPerInch);

// The design scale at which a millimetre of the design is a millimetre of paper when a page
// unit is `unitMillimetres` long (a model unit at scale 1 is 0.1 mm / 2.83465).
float actualSizeScale(double unitMillimetres);

// How the design is placed in the frame.
enum class Placement {
    ActualSize,   // a millimetre of the design on a millimetre of paper
    FitToPaper,   // shrunk into the frame when larger, else left at the scale it has
    SelectedArea, // fitted into the area the user dragged out
};

// Page units to canvas pixels: to the nearest integer, halves to the even one, as the
// platform's rounding does everywhere on the page.
int pageRound(double value);
PagePoint onCanvas(PagePoint p, double f);

// The frame with each edge rounded on its own, and its centre.
PageRect frameOnCanvas(double f);

// Canvas pixels per page unit for a page of the given size in pixels: the whole page fits.
float pageScale(int pageWidth, int pageHeight);

// Sets the design's scale for the placement and gives the canvas position of the design's
// centre. The two frame placements store the frame (page units) as the selected area, so an
// area chosen later starts from the frame. `unitMm` is the length of a page unit on the paper
// the page is made for.
PagePoint placeDesign(Tembs& design, Placement placement, PageRect& designrect, double f,
                      double unitMm = kPointMillimetres);

// The placement a freshly shown page starts with: fit to paper when the design at actual size
// is wider or higher than the frame, else actual size.
Placement initialPlacement(const Tembs& design, double unitMm = kPointMillimetres);

// A point of the design (model units at its current scale) on the canvas.
inline PagePoint designPointOnCanvas(float x, float y, double f, PagePoint offset)
{
    return {pageRound(f * x + offset.x), pageRound(f * y + offset.y)};
}

// The swatch of colour index k in page units: 11 units square, 14 apart, an extra 6 units
// after every five, 35 to a row, rows 20 units apart from y = 730.
PageRect swatchRect(int k);

// Line i of the free text starts here (page units): 15 units a line.
inline PagePoint freeTextLine(PagePoint textpos, int i)
{
    return {textpos.x, textpos.y + 15 * i};
}

// A dragged-out area from the press to the release point, only when it runs right and down
// (both sides positive); a drag up or to the left selects nothing.
std::optional<PageRect> selectedArea(PagePoint press, PagePoint release);

// Where the 595 x 840 preview sits in its scroll box along one axis. A box too small for it
// (client size at most `threshold`) scrolls over `range` with the preview at 30; a larger box
// centres it and does not scroll.
struct PreviewAxis {
    bool scrolls = false;
    int range = 0;  // scroll range when it scrolls, else the client size
    int offset = 0; // the preview's edge in the scrolled area
};
PreviewAxis previewHorizontal(int clientWidth);
PreviewAxis previewVertical(int clientHeight);

} // namespace loomscope
