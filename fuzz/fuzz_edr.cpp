// Any bytes as an Embird colour file.
#include "model/embirdcolors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto colours = loomscope::parseEmbirdColors({data, size});
    // An entry counts once its three colour bytes are there.
    if (colours.size() != (size + 1) / 4)
        __builtin_trap();
    for (auto c : colours)
        if (c > 0xFFFFFF)
            __builtin_trap();
    return 0;
}
