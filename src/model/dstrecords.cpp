#include "dstrecords.h"

#include <algorithm>
#include <array>

namespace loomscope {

namespace {

struct Move {
    std::int16_t dx = 0;
    std::int16_t dy = 0;
};
using MoveTable = std::array<Move, 256>;

// The moves of one byte position, one entry per byte value: every set bit adds its step, so
// the two bits of a pair cancel out.
constexpr MoveTable makeTable(const std::array<Move, 8>& bitSteps)
{
    MoveTable table{};
    for (std::size_t value = 0; value < 256; ++value)
        for (std::size_t bit = 0; bit < 8; ++bit)
            if (value & (std::size_t{1} << bit)) {
                table[value].dx = static_cast<std::int16_t>(table[value].dx + bitSteps[bit].dx);
                table[value].dy = static_cast<std::int16_t>(table[value].dy + bitSteps[bit].dy);
            }
    return table;
}

constexpr MoveTable kByte0 = makeTable({Move{1, 0}, Move{-1, 0}, Move{9, 0}, Move{-9, 0},
                                        Move{0, -9}, Move{0, 9}, Move{0, -1}, Move{0, 1}});
constexpr MoveTable kByte1 = makeTable({Move{3, 0}, Move{-3, 0}, Move{27, 0}, Move{-27, 0},
                                        Move{0, -27}, Move{0, 27}, Move{0, -3}, Move{0, 3}});
// Bits 0, 1, 6 and 7 of the control byte move nothing.
constexpr MoveTable kByte2 = makeTable({Move{0, 0}, Move{0, 0}, Move{81, 0}, Move{-81, 0},
                                        Move{0, -81}, Move{0, 81}, Move{0, 0}, Move{0, 0}});

} // namespace

DstMove decodeDstMove(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
{
    return {kByte0[b0].dx + kByte1[b1].dx + kByte2[b2].dx,
            kByte0[b0].dy + kByte1[b1].dy + kByte2[b2].dy};
}

DstExtent decodeDstPositions(const std::uint8_t* records, std::size_t n, std::int32_t* xy)
{
    DstExtent e;
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (std::size_t k = 0; k < n; ++k, records += 3) {
        const Move& m0 = kByte0[records[0]];
        const Move& m1 = kByte1[records[1]];
        const Move& m2 = kByte2[records[2]];
        x += m0.dx + m1.dx + m2.dx;
        y += m0.dy + m1.dy + m2.dy;
        xy[2 * k] = x;
        xy[2 * k + 1] = y;
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y);
        e.maxY = std::max(e.maxY, y);
    }
    return e;
}

} // namespace loomscope
