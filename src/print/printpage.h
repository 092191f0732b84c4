#pragma once

#include "pagelayout.h"
#include "printoptions.h"

#include <string>
#include <vector>

namespace loomscope {

// What a print page shows besides the design itself: the options, the placement, the area and
// text position the user picked, the printed stitch count and the free text. The print window
// keeps one; the command-line worksheet makes one with the window's defaults.
struct PrintPage {
    PrintOptions options;
    Placement placement = Placement::ActualSize;
    PageRect designrect = kFrame;      // the selected area, page units
    PagePoint textpos{30, 90};         // top-left of the free text, page units
    int falsestitches = 0;             // the stitch count printed; the design's unless changed
    std::vector<std::string> freeText; // UTF-8, one entry a line
    bool candraw = false;              // a design is loaded and may be drawn
    // How long a page unit is on the paper of the current printer: the preview (and its BMP)
    // show that printer's page. A printer or PDF being drawn on measures its own.
    double unitMillimetres = kPointMillimetres;
};

} // namespace loomscope
