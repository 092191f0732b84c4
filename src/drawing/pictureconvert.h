#pragma once

#include "fabrictile.h"

class QImage;

namespace loomscope {

// A picture's pixels as plain RGB bytes, top row first (a null picture gives an empty one).
RgbPicture toRgbPicture(const QImage& image);
// And back, as a 24-bit picture.
QImage toQImage(const RgbPicture& picture);

} // namespace loomscope
