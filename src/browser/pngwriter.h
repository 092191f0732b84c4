#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace loomscope {

class PixelCanvas;

// A PNG file of 8-bit red, green, blue and alpha pixels (straight alpha, rows top to bottom),
// deflated with zlib. Empty when the size is not positive or the pixels do not match it.
std::vector<std::uint8_t> encodePng(int width, int height, std::span<const std::uint8_t> rgba);
std::vector<std::uint8_t> encodePng(const PixelCanvas& canvas);

} // namespace loomscope
