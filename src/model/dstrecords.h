#pragma once

#include <cstddef>
#include <cstdint>

namespace loomscope {

// The three-byte DST stitch record: every set bit of b0, b1 and b2 adds a fixed step to the
// record's x or y move (units of 0.1 mm, y growing upwards as in the file); b2 is also the
// control byte.

inline constexpr std::size_t kDstHeaderSize = 512;

struct DstMove {
    int dx = 0;
    int dy = 0;
};
DstMove decodeDstMove(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2);

// Smallest and largest position reached, always containing the origin.
struct DstExtent {
    std::int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
};

// Decodes `n` records into absolute positions, x and y of record k at xy[2k] and xy[2k+1]
// (running sums from the origin). The caller keeps n within kMaxDstRecords, so no sum
// overflows.
DstExtent decodeDstPositions(const std::uint8_t* records, std::size_t n, std::int32_t* xy);

} // namespace loomscope
