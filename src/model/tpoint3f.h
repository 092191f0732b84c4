#pragma once

#include <cstdint>

namespace loomscope {

// One point of a colour block: the position in model units (scaled, centred on the design,
// y downwards) and the DST control byte of the record that produced it.
struct TPoint3F {
    float X = 0;
    float Y = 0;
    std::uint8_t Z = 0;
};
static_assert(sizeof(TPoint3F) == 12, "a point is 12 bytes, as the drawing code expects");

// Control bytes with a meaning of their own.
inline constexpr std::uint8_t kSequinToggle = 0x43;
inline constexpr std::uint8_t kColourChange = 0xC3;
// Jumps, colour changes, ends and every other byte from here up break a block.
inline constexpr std::uint8_t kFirstBreak = 131;
// Stitches: both high bits clear.
constexpr bool isStitchControl(std::uint8_t c)
{
    return c < 64;
}
constexpr bool isBreakControl(std::uint8_t c)
{
    return c >= kFirstBreak;
}

} // namespace loomscope
