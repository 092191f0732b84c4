#pragma once

// 24-bit BMP files: the saved print page and the company logo are written in this form, which
// every picture program reads.

#include <cstdint>
#include <span>
#include <vector>

namespace loomscope {

// A bottom-up 24-bit BMP of `width` x `height` pixels from RGB bytes, top row first, rows
// padded to four bytes in the file, with the resolution given (3780 is 96 dots per inch). An
// empty vector when the sizes do not match the bytes.
std::vector<std::uint8_t> encodeBmp24(int width, int height, std::span<const std::uint8_t> rgb,
                                      int pixelsPerMetre = 3780);

} // namespace loomscope
