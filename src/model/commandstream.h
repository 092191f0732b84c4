#pragma once

// What is made of a design's commands as they come, one at a time: the records of the DST a
// converter would write of them, and the facts its information shows. A reader of another
// format feeds both while it reads the file, so that a design that is only drawn never needs
// a list of its commands; dstSteps and commandFacts feed them from such a list.

#include "dstrecords.h"
#include "embroideryformats.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace loomscope {

namespace dststeps {

// The longest move of one DST record on either axis.
inline constexpr int kLongestMove = 121;

// The record bits of one axis for every move -121..121: each balanced ternary digit of the
// move sets the plus or the minus bit of its weight.
using AxisBits = std::array<std::array<std::uint8_t, 3>, 2 * kLongestMove + 1>;

struct WeightBits {
    int byte;
    int plus;
    int minus;
};

constexpr AxisBits makeAxisBits(const std::array<WeightBits, 5>& weights)
{
    AxisBits table{};
    for (int v = -kLongestMove; v <= kLongestMove; ++v) {
        auto& bytes = table[static_cast<std::size_t>(v + kLongestMove)];
        int rest = v;
        for (const WeightBits& w : weights) { // weights 1, 3, 9, 27, 81
            int digit = ((rest % 3) + 3) % 3;
            if (digit == 2)
                digit = -1;
            rest = (rest - digit) / 3;
            if (digit != 0)
                bytes[static_cast<std::size_t>(w.byte)] |=
                    static_cast<std::uint8_t>(1 << (digit > 0 ? w.plus : w.minus));
        }
    }
    return table;
}

inline constexpr AxisBits kXBits =
    makeAxisBits({WeightBits{0, 0, 1}, {1, 0, 1}, {0, 2, 3}, {1, 2, 3}, {2, 2, 3}});
inline constexpr AxisBits kYBits =
    makeAxisBits({WeightBits{0, 7, 6}, {1, 7, 6}, {0, 5, 4}, {1, 5, 4}, {2, 5, 4}});

inline constexpr std::uint8_t kStitchControl = 0x03;
inline constexpr std::uint8_t kJumpControl = 0x83;
inline constexpr std::uint8_t kColourChangeControl = 0xC3;

// The record of a move of at most kLongestMove on either axis. Its control byte also holds
// the move's largest steps, as in the file.
inline DstStep step(std::int64_t dx, std::int64_t dy, std::uint8_t control)
{
    const auto x = static_cast<std::size_t>(dx + kLongestMove);
    const auto y = static_cast<std::size_t>(dy + kLongestMove);
    return {static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy),
            static_cast<std::uint8_t>(control | kXBits[x][2] | kYBits[y][2])};
}

inline bool fitsOneRecord(std::int64_t d)
{
    return static_cast<std::uint64_t>(d + kLongestMove) <= 2 * kLongestMove;
}

} // namespace dststeps

// The records of the DST a converter would write of the commands, starting at the first
// command's position. Moves longer than a record can hold are split into jumps; a trim is a
// jump; the End command, or a design longer than the DST reader accepts, ends the records.
class DstStepWriter {
public:
    // Room for a long move in every few commands, as real designs have, without growing.
    void reserve(std::size_t commands);

    // The next command, given by the move (dx, dy) from the one before; the first one's move
    // is not written, as the records start where it is.
    [[gnu::always_inline]] void put(StitchKind kind, std::int64_t dx, std::int64_t dy)
    {
        using namespace dststeps;
        // Nearly every command: a stitch, jump or trim that one record holds, with room for it
        // (the room never passes the limit: see makeRoom).
        if (writing_ &&
            (kind == StitchKind::Stitch || kind == StitchKind::Jump || kind == StitchKind::Trim) &&
            fitsOneRecord(dx) && fitsOneRecord(dy) && used_ != steps_.size()) [[likely]] {
            steps_[used_++] =
                step(dx, dy, kind == StitchKind::Stitch ? kStitchControl : kJumpControl);
            return;
        }
        putRare(kind, dx, dy);
    }
    // The commands of a list, at their absolute positions.
    void put(std::span<const DesignCommand> commands);

    // A run of stitches written straight into the room made, with nothing of this object
    // loaded or stored for each (see CommandSink::addStitches).
    struct Stitches {
        DstStep* next;
        DstStep* end;
        [[gnu::always_inline]] bool put(std::int64_t dx, std::int64_t dy)
        {
            using namespace dststeps;
            if (next == end || !fitsOneRecord(dx) || !fitsOneRecord(dy))
                return false;
            *next++ = step(dx, dy, kStitchControl);
            return true;
        }
    };
    // A run of at most `most` stitches.
    Stitches beginStitches(std::size_t most)
    {
        DstStep* next = steps_.data() + used_;
        return {next, writing_ ? next + std::min(most, steps_.size() - used_) : next};
    }
    // Ends the run: the number of stitches it wrote.
    std::size_t endStitches(const Stitches& run)
    {
        const auto end = static_cast<std::size_t>(run.next - steps_.data());
        const std::size_t written = end - used_;
        used_ = end;
        return written;
    }

    // Whether the first command has come.
    bool started() const { return started_; }
    // The records so far.
    const DstStep* records() const { return steps_.data(); }
    std::size_t recordCount() const { return used_; }
    // Whether a command was left out of the records that may lie beyond their reach: one that
    // moves the needle after the End, or any past the limit.
    bool leftOut() const { return leftOut_; }

    // The records. A design of one record gets a jump of no length after it, so that it is
    // not too short to be read as a design.
    DstSteps finish();

private:
    // The first command, colour changes, long moves, the End, growing and the limit.
    void putRare(StitchKind kind, std::int64_t dx, std::int64_t dy);
    // Room for `n` records more, or false where they would pass the limit. The room never
    // does, so that a record the fast path writes is always within it.
    bool makeRoom(std::size_t n);
    void append(const DstStep& step) { steps_[used_++] = step; }
    // The records of a move: jumps, then the last one with the command's own control bits.
    void appendMove(std::int64_t dx, std::int64_t dy, std::size_t pieces, std::uint8_t control);

    // Sized to the room made; the first used_ are the records.
    DstSteps steps_;
    std::size_t used_ = 0;
    bool started_ = false;
    bool writing_ = false;
    bool leftOut_ = false;
};

// The facts of a design (see DesignFacts), counted as its commands come.
class DesignFactCounter {
public:
    // A run of stitches counted in registers (see CommandSink::addStitches): their extent,
    // and at its end their number.
    struct Stitches {
        std::int32_t minX, maxX, minY, maxY;
        [[gnu::always_inline]] void include(std::int32_t x, std::int32_t y)
        {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    };

    [[gnu::always_inline]] void put(StitchKind kind, std::int32_t x, std::int32_t y)
    {
        Stitches run = beginStitches();
        run.include(x, y);
        endStitches(run, kind == StitchKind::Stitch ? 1 : 0);
        if (kind == StitchKind::ColourChange) [[unlikely]]
            closeBlock();
    }
    // The commands of a list.
    void put(std::span<const DesignCommand> commands);

    Stitches beginStitches() const { return {minX_, maxX_, minY_, maxY_}; }
    void endStitches(const Stitches& run, std::size_t stitches)
    {
        minX_ = run.minX;
        maxX_ = run.maxX;
        minY_ = run.minY;
        maxY_ = run.maxY;
        blockStitches_ += static_cast<int>(stitches);
    }

    // From here on the needle's positions lie (dx, dy) thousandths of a millimetre off the
    // commands' 0.1 mm grid: the design is measured at that finer precision, as the makers'
    // software of a format that places its parts finer measures it.
    void measureFinely(std::int64_t dx, std::int64_t dy);

    // The extent of every command's position (min x, min y, max x, max y), where there are
    // commands.
    std::optional<std::array<std::int64_t, 4>> extent();
    // The extent at the finer precision, in 1/1000 mm (min x, min y, max x, max y), where the
    // design is measured finely and has commands.
    std::optional<std::array<std::int64_t, 4>> fineExtent();
    DesignFacts facts();

private:
    void closeBlock();
    // The positions since the last change of precision, into the extents of the whole.
    void foldSection();

    std::int32_t minX_ = INT32_MAX, maxX_ = INT32_MIN, minY_ = INT32_MAX, maxY_ = INT32_MIN;
    std::int64_t allMinX_ = INT64_MAX, allMaxX_ = INT64_MIN;
    std::int64_t allMinY_ = INT64_MAX, allMaxY_ = INT64_MIN;
    std::array<std::int64_t, 4> fine_{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    std::int64_t fineDx_ = 0;
    std::int64_t fineDy_ = 0;
    bool finely_ = false;
    int blockStitches_ = 0;
    std::vector<int> closedBlocks_;
};

// The width or height in millimetres, to one decimal, of a length in 1/1000 mm.
double millimetresOfThousandths(std::int64_t length);

} // namespace loomscope
