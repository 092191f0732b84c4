#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace loomscope {

// A 24-bit colour with red in the low byte (0x00BBGGRR), the order used by the side files,
// config.ini and every colour table of the program.
using TColor = std::uint32_t;

constexpr int redOf(TColor c)
{
    return static_cast<int>(c & 0xFFu);
}
constexpr int greenOf(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int blueOf(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFFu);
}
constexpr TColor rgb(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// The complement used for text over a background: every colour bit inverted.
constexpr TColor complementOf(TColor c)
{
    return (c ^ 0xFFFFFFu) & 0xFFFFFFu;
}

// Four floats, each 0..1, in the order OpenGL takes them.
struct TColorVector {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 1;
};

TColorVector colortovector(TColor colour, std::uint8_t alpha);

// "#RRGGBB", red first, as people and web pages write colours.
std::string colorToHtml(TColor colour);
// Parses "#RRGGBB" (the '#' is optional); nothing for anything else.
std::optional<TColor> colorFromHtml(std::string_view text);

} // namespace loomscope
