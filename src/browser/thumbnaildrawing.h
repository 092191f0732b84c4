#pragma once

#include "model/tembs.h"
#include "pixelcanvas.h"

#include <string>

namespace loomscope {

// The one drawer of design thumbnails, used by the browser's list and by the file manager's
// thumbnailer. Both draw only the lines within colour blocks: each block from its first point
// to its last but one (the last is the break record that ends the block, which the view does
// not draw to either), nothing joining one block to the next, no sequins or marks.

inline constexpr int kListThumbnailSize = 100;
inline constexpr int kDefaultThumbnailSize = 256;
inline constexpr int kLargestThumbnailSize = 1024;

// Draws a design already fitted to the canvas (chuangkou with the canvas's width and height)
// with the list's pixel rule: the fitted extent centred with whole-pixel offsets, every point
// truncated to a pixel, one-pixel lines in the block colours.
void drawListThumbnail(const Tembs& fitted, PixelCanvas& canvas);

struct ListThumbnail {
    Tdstinfo info;     // the file summary shown in the row
    std::string error; // why the design could not be read; empty when it was
    PixelCanvas picture{kListThumbnailSize, kListThumbnailSize};
};

// One row of the browser's list: reads the design at `path` and its side file (`sideFile`, the
// path found when the folder was listed, or empty for none), fits it into 100 x 100 and draws
// it on white. A design that cannot be read gives a white picture, an empty summary and the
// reason; a side file that cannot be read leaves the palette colours. Safe on any thread: the
// design and the picture are its own.
ListThumbnail makeListThumbnail(const std::string& path, const std::string& sideFile);

// The file manager's picture of a design as read (scale 1): the design's longer side `size`
// pixels, the other in proportion (at least 1), transparent ground, antialiased lines in the
// block colours about as wide as a thread at that size. The work is bounded whatever the
// design holds.
PixelCanvas drawFileManagerThumbnail(const Tembs& design, int size);

} // namespace loomscope
