#pragma once

// The fabric under the thread look: a 128 x 128 tile cut from the top-left of a weave picture
// and tinted with the fabric colour. The picture supplies the weave's light and shade, the
// tint its colour.

#include "model/colour.h"

#include <array>
#include <cstdint>
#include <vector>

namespace loomscope {

inline constexpr int kFabricTileSize = 128;
using FabricTile =
    std::array<std::uint8_t, kFabricTileSize * kFabricTileSize * 3>; // RGB rows, top first

// A picture as plain RGB bytes, top row first, three bytes per pixel, no padding.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The viewer's tint, per channel: clamp(2 p + t - 255). Mid grey gives the tint itself,
// white pushes towards white and black towards black.
std::uint8_t viewerFabricChannel(int picture, int tint);
// The picture export's tint, per channel: floor(t * clamp(2 p) / 256).
std::uint8_t exportFabricChannel(int picture, int tint);

enum class FabricTint { Viewer, Export };

// The tile from the top-left 128 x 128 pixels of the picture. Pixels the picture lacks (it is
// smaller than the tile) repeat the picture, so nothing outside it is ever read; an empty
// picture gives a tile of mid grey.
FabricTile tintfabric(const RgbPicture& picture, TColor tint, FabricTint formula);

} // namespace loomscope
