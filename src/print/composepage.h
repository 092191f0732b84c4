#pragma once

#include "model/colour.h"
#include "printpage.h"

#include <functional>
#include <string>

class QPainter;

namespace loomscope {

class ConfigStore;
class Tembs;

// Where a page gets what is not part of the design: the thread colours the main view shows
// (swatches), the company texts of the program's settings, the program home (the logo, read
// afresh for every page) and the decimal separator of the numbers.
struct PageSources {
    std::function<TColor(int)> readcolorlist;
    const ConfigStore* config = nullptr; // no company texts without one
    std::string programHome;             // ends in '/'
    char decimalSeparator = '.';
};

// Draws the whole print page onto the painter's device: page units times f, rounded, with
// text of `fontSize` points at the device's resolution. The preview is f = 1 and 7 points on
// a 96-dpi picture; paper and PDF are the printer's scale and 10 points. The placement sets
// the design's scale (and the page's selected area, see placeDesign). Returns an empty string,
// or what went wrong reading the company details (the page is drawn without them then).
std::string composepage(QPainter& painter, int fontSize, float f, Tembs& dst, PrintPage& page,
                        const PageSources& sources);

} // namespace loomscope
