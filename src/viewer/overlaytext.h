#pragma once

// The texts of the information overlay in the viewer's top-left corner.

#include <array>
#include <string>

namespace loomscope {

class Tembs;
struct Tdstinfo;

struct OverlayRow {
    std::string label; // drawn at x = 10
    std::string value; // drawn at x = 80; the name row is drawn in a CJK-capable font
    int baseline = 0;
};

// Name, stitches, colours, sequins, size in mm and inches, and the scale.
std::array<OverlayRow, 7> overlayRows(const Tembs& design, const Tdstinfo& info,
                                      char decimalSeparator = '.');

} // namespace loomscope
