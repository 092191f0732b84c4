#include "fabricpreview.h"

namespace loomscope {

RgbPicture fabricListPicture(const RgbPicture& picture)
{
    constexpr std::size_t side = kFabricTileSize;
    RgbPicture out{kFabricTileSize, kFabricTileSize,
                   std::vector<std::uint8_t>(side * side * 3, 128)};
    const bool usable = picture.width > 0 && picture.height > 0 &&
                        picture.rgb.size() >= std::size_t(picture.width) * picture.height * 3;
    if (!usable)
        return out;
    std::size_t at = 0;
    for (std::size_t y = 0; y < side; ++y)
        for (std::size_t x = 0; x < side; ++x) {
            const std::size_t from =
                ((y % std::size_t(picture.height)) * std::size_t(picture.width) +
                 x % std::size_t(picture.width)) *
                3;
            for (std::size_t c = 0; c < 3; ++c)
                out.rgb[at++] = picture.rgb[from + c];
        }
    return out;
}

RgbPicture fabricPreview(const RgbPicture& tile, TColor colour)
{
    const FabricTile tinted = tintfabric(tile, colour, FabricTint::Viewer);
    return {kFabricTileSize, kFabricTileSize,
            std::vector<std::uint8_t>(tinted.begin(), tinted.end())};
}

} // namespace loomscope
