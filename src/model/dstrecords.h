#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace loomscope {

// The three-byte DST stitch record: every set bit of b0, b1 and b2 adds a fixed step to the
// record's x or y move (units of 0.1 mm, y growing upwards as in the file); b2 is also the
// control byte.

inline constexpr std::size_t kDstHeaderSize = 512;

// More records than this (a 50 MB file, 16 times the largest real design) are refused: it
// keeps every running position within 32 bits and the memory of a read bounded.
inline constexpr std::size_t kMaxDstRecords = std::size_t{1} << 24;

struct DstMove {
    int dx = 0;
    int dy = 0;
};

namespace dstdetail {

struct Step {
    std::int16_t dx = 0;
    std::int16_t dy = 0;
};
using StepTable = std::array<Step, 256>;

// The moves of one byte position, one entry per byte value: every set bit adds its step, so
// the two bits of a pair cancel out.
constexpr StepTable makeTable(const std::array<Step, 8>& bitSteps)
{
    StepTable table{};
    for (std::size_t value = 0; value < 256; ++value)
        for (std::size_t bit = 0; bit < 8; ++bit)
            if (value & (std::size_t{1} << bit)) {
                table[value].dx = static_cast<std::int16_t>(table[value].dx + bitSteps[bit].dx);
                table[value].dy = static_cast<std::int16_t>(table[value].dy + bitSteps[bit].dy);
            }
    return table;
}

inline constexpr StepTable kByte0 = makeTable({Step{1, 0}, Step{-1, 0}, Step{9, 0}, Step{-9, 0},
                                               Step{0, -9}, Step{0, 9}, Step{0, -1}, Step{0, 1}});
inline constexpr StepTable kByte1 = makeTable({Step{3, 0}, Step{-3, 0}, Step{27, 0}, Step{-27, 0},
                                               Step{0, -27}, Step{0, 27}, Step{0, -3}, Step{0, 3}});
// Bits 0, 1, 6 and 7 of the control byte move nothing.
inline constexpr StepTable kByte2 = makeTable({Step{0, 0}, Step{0, 0}, Step{81, 0}, Step{-81, 0},
                                               Step{0, -81}, Step{0, 81}, Step{0, 0}, Step{0, 0}});

} // namespace dstdetail

inline DstMove decodeDstMove(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
{
    using namespace dstdetail;
    return {kByte0[b0].dx + kByte1[b1].dx + kByte2[b2].dx,
            kByte0[b0].dy + kByte1[b1].dy + kByte2[b2].dy};
}

// Adds the move of the record at `r` to the position (x, y).
inline void addDstMove(const std::uint8_t* r, std::int32_t& x, std::int32_t& y)
{
    using namespace dstdetail;
    const Step& m0 = kByte0[r[0]];
    const Step& m1 = kByte1[r[1]];
    const Step& m2 = kByte2[r[2]];
    x += m0.dx + m1.dx + m2.dx;
    y += m0.dy + m1.dy + m2.dy;
}

// A record as its move and control byte, before it is packed into three bytes: the records
// of the other formats' designs, which are read as DST without packing and unpacking them.
// As small as a file's record (a move of one record is at most 121 either way), so that a
// design's records take no more memory than its DST file.
// Left unset when made without values, like an int: a design's records are written into room
// made for them, which would otherwise be cleared first for nothing.
struct DstStep {
    std::int8_t dx;
    std::int8_t dy;
    std::uint8_t control;
    friend bool operator==(const DstStep&, const DstStep&) = default;
};

// An allocator whose containers leave the elements they make room for unset (`resize`), for
// room that is written before it is read.
template <typename T> struct UnsetAllocator : std::allocator<T> {
    template <typename U> struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <typename U> UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using DstSteps = std::vector<DstStep, UnsetAllocator<DstStep>>;

inline void addDstMove(const DstStep* s, std::int32_t& x, std::int32_t& y)
{
    x += s->dx;
    y += s->dy;
}

// What the reader needs of either kind of record: its control byte, and where the record n
// records on begins.
inline std::uint8_t dstControl(const std::uint8_t* r)
{
    return r[2];
}
inline std::uint8_t dstControl(const DstStep* s)
{
    return s->control;
}
inline const std::uint8_t* dstRecordsOn(const std::uint8_t* r, std::size_t n)
{
    return r + 3 * n;
}
inline const DstStep* dstRecordsOn(const DstStep* s, std::size_t n)
{
    return s + n;
}

// Smallest and largest position reached, always containing the origin.
struct DstExtent {
    std::int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    void include(std::int32_t x, std::int32_t y)
    {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    friend bool operator==(const DstExtent&, const DstExtent&) = default;
};

// Decodes `n` records into absolute positions, x and y of record k at xy[2k] and xy[2k+1]
// (running sums from the origin). The caller keeps n within kMaxDstRecords, so no sum
// overflows.
DstExtent decodeDstPositions(const std::uint8_t* records, std::size_t n, std::int32_t* xy);

} // namespace loomscope
