#pragma once

#include "colour.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace loomscope {

// Embird colour file (".edr"): one 4-byte entry per colour index, bytes red, green, blue and
// one byte that is not read. An entry counts once its three colour bytes are there (a file of
// 4n - 1 bytes holds n colours); fewer trailing bytes are no entry.
std::vector<TColor> parseEmbirdColors(std::span<const std::uint8_t> bytes);

struct EmbirdColors {
    std::vector<TColor> colors;
    std::string error; // empty when the file was read
};
EmbirdColors loadEmbirdColors(const std::string& path);

} // namespace loomscope
