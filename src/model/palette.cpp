#include "palette.h"

#include <array>

namespace loomscope {

namespace {
constexpr std::array<TColor, 20> kBaseColours = {
    0x0000FF00, 0x00FF0000, 0x000000FF, 0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x0066CC33,
    0x00337DB4, 0x00336600, 0x006633CC, 0x003399FF, 0x00CC0099, 0x00993300, 0x00FF8000,
    0x00408080, 0x00CC7EFF, 0x00FF7E7E, 0x0033CCCC, 0x003366CC, 0x00CCFF66,
};
} // namespace

TColor paletteColor(int index)
{
    if (index < 0)
        index = 0;
    const int j = index % 52;
    return j < 40 ? kBaseColours[static_cast<std::size_t>(j % 20)]
                  : kBaseColours[static_cast<std::size_t>(j - 40)];
}

std::vector<std::string> paletteTexts()
{
    std::vector<std::string> texts;
    texts.reserve(kPaletteSize);
    for (int i = 0; i < kPaletteSize; ++i)
        texts.push_back(std::to_string(paletteColor(i)));
    return texts;
}

} // namespace loomscope
