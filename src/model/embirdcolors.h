#pragma once

#include "colour.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace loomscope {

// Embird colour file (".edr"): one 4-byte entry per colour index, bytes red, green, blue and
// one byte that is not read. A trailing part entry is ignored.
std::vector<TColor> parseEmbirdColors(std::span<const std::uint8_t> bytes);

struct EmbirdColors {
    std::vector<TColor> colors;
    std::string error; // empty when the file was read
};
EmbirdColors loadEmbirdColors(const std::string& path);

} // namespace loomscope
