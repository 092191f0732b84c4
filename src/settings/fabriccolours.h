#pragma once

// The fabric chooser's colour list: fixed rows of a colour and the fabric code sold in that
// colour. The key is the colour as config.ini writes it, six hexadecimal digits of the
// red-low value, so "0000FF" is red. The list is kept as the shop knows it, including the
// rows that appear twice.

#include "model/colour.h"

#include <array>

namespace loomscope {

struct FabricColourRow {
    const char* key;  // "FeFeFe"
    const char* code; // "800"
};

inline constexpr int kFabricColourRows = 85;

const std::array<FabricColourRow, kFabricColourRows>& fabricColourRows();

// The colour of a row's key.
TColor fabricRowColour(const FabricColourRow& row);

} // namespace loomscope
