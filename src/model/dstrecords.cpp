#include "dstrecords.h"

namespace loomscope {

DstExtent decodeDstPositions(const std::uint8_t* records, std::size_t n, std::int32_t* xy)
{
    DstExtent e;
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (std::size_t k = 0; k < n; ++k, records += 3) {
        addDstMove(records, x, y);
        xy[2 * k] = x;
        xy[2 * k + 1] = y;
        e.include(x, y);
    }
    return e;
}

} // namespace loomscope
