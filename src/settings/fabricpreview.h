#pragma once

// The fabric chooser's pictures: every fabric is shown and handed on as a 128 x 128 tile, and
// its preview is that tile tinted the way the viewer tints its fabric.

#include "drawing/fabrictile.h"
#include "model/colour.h"

namespace loomscope {

// The top-left 128 x 128 pixels of the picture. A smaller picture is extended by repeating
// it, so the tile keeps the weave instead of showing a blank margin; an empty picture gives
// mid grey, which tints to the plain fabric colour.
RgbPicture fabricListPicture(const RgbPicture& picture);

// The preview: each channel of each pixel clamp(2 p + c - 255, 0, 255).
RgbPicture fabricPreview(const RgbPicture& tile, TColor colour);

} // namespace loomscope
