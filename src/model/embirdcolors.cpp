#include "embirdcolors.h"

#include "fileio.h"

namespace loomscope {

std::vector<TColor> parseEmbirdColors(std::span<const std::uint8_t> bytes)
{
    std::vector<TColor> colors;
    colors.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i + 3 <= bytes.size(); i += 4)
        colors.push_back(rgb(bytes[i], bytes[i + 1], bytes[i + 2]));
    return colors;
}

EmbirdColors loadEmbirdColors(const std::string& path)
{
    FileBytes file = readWholeFile(path);
    if (!file.error.empty())
        return {{}, file.error};
    return {parseEmbirdColors(file.bytes), {}};
}

} // namespace loomscope
