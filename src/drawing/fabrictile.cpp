#include "fabrictile.h"

#include <algorithm>

namespace loomscope {

std::uint8_t viewerFabricChannel(int picture, int tint)
{
    return static_cast<std::uint8_t>(std::clamp(2 * picture + tint - 255, 0, 255));
}

std::uint8_t exportFabricChannel(int picture, int tint)
{
    return static_cast<std::uint8_t>(tint * std::clamp(2 * picture, 0, 255) / 256);
}

FabricTile tintfabric(const RgbPicture& picture, TColor tint, FabricTint formula)
{
    const int t[3] = {redOf(tint), greenOf(tint), blueOf(tint)};
    const bool usable = picture.width > 0 && picture.height > 0 &&
                        picture.rgb.size() >= std::size_t(picture.width) * picture.height * 3;
    FabricTile tile{};
    std::size_t at = 0;
    for (int y = 0; y < kFabricTileSize; ++y)
        for (int x = 0; x < kFabricTileSize; ++x)
            for (int c = 0; c < 3; ++c) {
                int p = 128;
                if (usable) {
                    const std::size_t px = std::size_t(x % picture.width);
                    const std::size_t py = std::size_t(y % picture.height);
                    p = picture.rgb[(py * std::size_t(picture.width) + px) * 3 + std::size_t(c)];
                }
                tile[at++] = formula == FabricTint::Viewer ? viewerFabricChannel(p, t[c])
                                                           : exportFabricChannel(p, t[c]);
            }
    return tile;
}

} // namespace loomscope
