#include "bmpfile.h"

namespace loomscope {

namespace {
void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    put16(out, at, v & 0xFFFFu);
    put16(out, at + 2, v >> 16);
}
} // namespace

std::vector<std::uint8_t> encodeBmp24(int width, int height, std::span<const std::uint8_t> rgb,
                                      int pixelsPerMetre)
{
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        rgb.size() != std::size_t(width) * std::size_t(height) * 3)
        return {};
    const std::size_t rowIn = std::size_t(width) * 3;
    const std::size_t rowOut = (rowIn + 3) & ~std::size_t{3};
    const std::size_t headers = 14 + 40;
    const std::size_t pixels = rowOut * std::size_t(height);
    std::vector<std::uint8_t> out(headers + pixels, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, static_cast<std::uint32_t>(headers));
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height)); // positive: bottom row first
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 34, static_cast<std::uint32_t>(pixels));
    put32(out, 38, static_cast<std::uint32_t>(pixelsPerMetre));
    put32(out, 42, static_cast<std::uint32_t>(pixelsPerMetre));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = rgb.data() + rowIn * std::size_t(height - 1 - y);
        std::uint8_t* row = out.data() + headers + rowOut * std::size_t(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = in[3 * x + 2]; // blue, green, red
            row[3 * x + 1] = in[3 * x + 1];
            row[3 * x + 2] = in[3 * x];
        }
    }
    return out;
}

} // namespace loomscope
