#pragma once

// What the format readers share: a cursor that cannot read past its end, the design being
// built with its limits, and the PEC block that PES files carry inside them.

#include "model/commandstream.h"
#include "model/embroideryformats.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace loomscope::formats {

inline int signed8(std::uint8_t b)
{
    return b < 0x80 ? b : b - 0x100;
}

// A stitch record of two signed bytes, x then y, as EXP, JEF and VP3 write most records (y
// growing upwards; VP3 negates it): its length (2), or 0 where fewer bytes are left or the
// first one is the 0x80 that starts their other records.
inline std::size_t byteStitch(const std::uint8_t* p, std::size_t left, std::int32_t& dx,
                              std::int32_t& dy)
{
    if (left < 2 || p[0] == 0x80)
        return 0;
    dx = signed8(p[0]);
    dy = signed8(p[1]);
    return 2;
}

// Reads numbers and texts from bytes[position, end). A read past the end reads zeros and
// leaves the cursor failed for good, so a header is read field after field and checked once.
class ByteCursor {
public:
    ByteCursor(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t end)
        : bytes_(bytes), position_(from), end_(std::min(end, bytes.size()))
    {
        ok_ = position_ <= end_;
    }

    bool ok() const { return ok_; }
    std::size_t position() const { return position_; }
    std::size_t end() const { return end_; }
    std::size_t remaining() const { return ok_ ? end_ - position_ : 0; }

    // The next n bytes, or nothing (and failed) when there are fewer.
    std::span<const std::uint8_t> take(std::size_t n)
    {
        if (!ok_ || n > end_ - position_) {
            ok_ = false;
            return {};
        }
        const auto taken = bytes_.subspan(position_, n);
        position_ += n;
        return taken;
    }
    void skip(std::size_t n) { take(n); }
    // Skips the bytes when they are next; fails otherwise.
    bool expect(std::span<const std::uint8_t> expected)
    {
        const auto got = take(expected.size());
        ok_ = ok_ && std::equal(got.begin(), got.end(), expected.begin());
        return ok_;
    }

    std::uint8_t u8()
    {
        const auto b = take(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint16_t u16le() { return static_cast<std::uint16_t>(unsignedLe(2)); }
    std::uint16_t u16be() { return static_cast<std::uint16_t>(unsignedBe(2)); }
    std::uint32_t u32le() { return static_cast<std::uint32_t>(unsignedLe(4)); }
    std::uint32_t u32be() { return static_cast<std::uint32_t>(unsignedBe(4)); }
    std::int32_t i32le() { return static_cast<std::int32_t>(u32le()); }
    std::int32_t i32be() { return static_cast<std::int32_t>(u32be()); }

private:
    std::uint64_t unsignedLe(std::size_t n)
    {
        std::uint64_t v = 0;
        const auto b = take(n);
        for (std::size_t i = b.size(); i-- > 0;)
            v = v << 8 | b[i];
        return v;
    }
    std::uint64_t unsignedBe(std::size_t n)
    {
        std::uint64_t v = 0;
        for (const std::uint8_t b : take(n))
            v = v << 8 | b;
        return v;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_;
    std::size_t end_;
    bool ok_ = true;
};

// Text in Latin-1, the 8-bit encoding of the thread names and codes, as UTF-8.
std::string latin1ToUtf8(std::span<const std::uint8_t> bytes);

// Where a reader's commands go: a list of them (readDesign), or the records of their DST and
// the design's facts, made as they come (readDesignSteps). Each command comes at its absolute
// position (x, y) and with its move (dx, dy) from the one before.
struct CommandList {
    std::vector<DesignCommand> commands;
    void reserve(std::size_t n) { commands.reserve(n); }
    void put(StitchKind kind, std::int32_t x, std::int32_t y, std::int64_t, std::int64_t)
    {
        commands.push_back({kind, x, y});
    }
    struct Stitches {
        CommandList* list;
        std::size_t most;
        std::size_t left;
        bool put(std::int32_t x, std::int32_t y, std::int64_t, std::int64_t)
        {
            if (left == 0)
                return false;
            --left;
            list->commands.push_back({StitchKind::Stitch, x, y});
            return true;
        }
    };
    Stitches beginStitches(std::size_t most) { return {this, most, most}; }
    std::size_t endStitches(const Stitches& run) { return run.most - run.left; }

    // Where the design is measured finer than its commands (see DesignFactCounter): from which
    // command on the positions lie how far off the grid. The extent is counted from these
    // once the commands are all there.
    struct FineOffset {
        std::size_t first;
        std::int64_t dx, dy;
    };
    std::vector<FineOffset> fineOffsets;
    void measureFinely(std::int64_t dx, std::int64_t dy)
    {
        fineOffsets.push_back({commands.size(), dx, dy});
    }
    std::optional<std::array<std::int64_t, 4>> fineExtent() const;
};
struct StepOutput {
    DstStepWriter steps;
    DesignFactCounter facts;
    // The shape of the records, found as they are written so that the DST reader need not go
    // through them for it: the blocks from the records' control bytes, and the extent from
    // the commands' positions, which the records reach from the first one.
    DstShapeFinder shape;
    std::size_t shaped = 0; // records given to `shape`
    std::int32_t firstX = 0;
    std::int32_t firstY = 0;

    void reserve(std::size_t n) { steps.reserve(n); }
    [[gnu::always_inline]] void put(StitchKind kind, std::int32_t x, std::int32_t y,
                                    std::int64_t dx, std::int64_t dy)
    {
        if (!steps.started()) [[unlikely]] {
            firstX = x;
            firstY = y;
        }
        steps.put(kind, dx, dy);
        facts.put(kind, x, y);
    }
    void measureFinely(std::int64_t dx, std::int64_t dy) { facts.measureFinely(dx, dy); }
    // A run takes a stitch only where one record holds it: then it is one stitch command and
    // one record, and the number of either is counted once, at the run's end.
    struct Stitches {
        DstStepWriter::Stitches steps;
        DesignFactCounter::Stitches facts;
        [[gnu::always_inline]] bool put(std::int32_t x, std::int32_t y, std::int64_t dx,
                                        std::int64_t dy)
        {
            if (!steps.put(dx, dy))
                return false;
            facts.include(x, y);
            return true;
        }
    };
    Stitches beginStitches(std::size_t most)
    {
        return {steps.beginStitches(most), facts.beginStitches()};
    }
    std::size_t endStitches(const Stitches& run)
    {
        // The records written one by one since the last run, then the run's.
        shape.controls(steps.records() + shaped, steps.recordCount() - shaped);
        const std::size_t taken = steps.endStitches(run.steps);
        shape.stitches(taken);
        shaped = steps.recordCount();
        facts.endStitches(run.facts, taken);
        return taken;
    }

    // The shape of `records`, the writer's finished records, or nothing where some command
    // was left out of them, whose position the extent would hold.
    std::optional<DstShape> shapeOf(std::span<const DstStep> records)
    {
        const auto reach = facts.extent();
        if (steps.leftOut() || !reach || records.size() < shaped)
            return std::nullopt;
        shape.controls(records.data() + shaped, records.size() - shaped);
        const auto [minX, minY, maxX, maxY] = *reach;
        return shape.finish(
            {static_cast<std::int32_t>(minX - firstX), static_cast<std::int32_t>(maxX - firstX),
             static_cast<std::int32_t>(minY - firstY), static_cast<std::int32_t>(maxY - firstY)});
    }
};

// The commands of a design as a reader finds them, positions summed up from the origin, passed
// on to `Output`. Every add checks the limits of embroideryformats.h; once one is passed the
// design is refused and every further add returns false, so a reader stops at its next record.
template <typename Output> class CommandSink {
public:
    explicit CommandSink(DesignFormat format) : format_(format) {}
    CommandSink(const CommandSink&) = delete;
    CommandSink& operator=(const CommandSink&) = delete;

    // Room for the commands a reader expects from the file's size: never more than the limit,
    // so a hostile length costs nothing before the records are there.
    void reserve(std::size_t expectedCommands)
    {
        out_.reserve(std::min(expectedCommands, std::size_t{1} << 20) + 1);
    }

    // A command moved by (dx, dy) from the current position.
    [[gnu::always_inline]] bool add(StitchKind kind, std::int64_t dx, std::int64_t dy)
    {
        const std::int64_t x = x_ + dx;
        const std::int64_t y = y_ + dy;
        // Every record outside a run of plain stitches comes here: the common case is kept
        // small enough to be inlined into the readers' loops, everything else is left to
        // addChecked. A refusal
        // sets the count past the limit, so that one test finds both; the two positions are
        // tested at once, at the cost of a few positions near the limit taking the long way.
        if (commands_ >= kMaxDesignCommands || kind == StitchKind::ColourChange ||
            (offset(x) | offset(y)) > 2 * static_cast<std::uint64_t>(kMaxDesignCoordinate))
            [[unlikely]]
            return addChecked(kind, x, y);
        put(kind, x, y, dx, dy);
        return true;
    }
    // The plain stitches from bytes[i] on, up to the first other record or `end`:
    // `decode(record, bytes left, dx, dy)` gives the length of the stitch record there and its
    // move, or 0 where there is none. Moves i past them; false once the design is refused.
    // Most records of a design are such stitches: they are taken in runs that keep the
    // position, the extent and the output's place in registers rather than loading and storing
    // them for every record. A run checks no limit of its own: it is given no more stitches
    // than the command limit leaves and than can be taken without passing the 1.6 km limit.
    // A stitch a run cannot take (a limit near, the output's room) is added the slow way, and
    // the next run starts after it.
    template <typename Decode>
    [[gnu::always_inline]] bool addStitches(const std::uint8_t* bytes, std::size_t& i,
                                            std::size_t end, Decode&& decode)
    {
        const std::uint8_t* p = bytes + i;
        const std::uint8_t* const stop = bytes + end;
        for (;;) {
            std::int64_t x = x_;
            std::int64_t y = y_;
            // None once refused: the count is then past the limit.
            const std::size_t commandRoom =
                commands_ < kMaxDesignCommands ? kMaxDesignCommands - commands_ : 0;
            // The position is within the limit; so is every one a run reaches in this many
            // stitches.
            const auto reach = static_cast<std::uint64_t>(std::max(std::abs(x), std::abs(y)));
            const std::size_t limitRoom =
                (std::uint64_t{kMaxDesignCoordinate} - reach) / kLongestPlainStitch;
            auto run = out_.beginStitches(std::min(commandRoom, limitRoom));
            bool stopped = false; // at a stitch the run cannot take
            for (;;) {
                std::int32_t dx = 0;
                std::int32_t dy = 0;
                const std::size_t length =
                    p < stop ? decode(p, static_cast<std::size_t>(stop - p), dx, dy) : 0;
                if (length == 0)
                    break;
                assert(std::abs(dx) <= kLongestPlainStitch && std::abs(dy) <= kLongestPlainStitch);
                const std::int64_t nextX = x + dx;
                const std::int64_t nextY = y + dy;
                stopped = !run.put(static_cast<std::int32_t>(nextX),
                                   static_cast<std::int32_t>(nextY), dx, dy);
                if (stopped)
                    break;
                x = nextX;
                y = nextY;
                p += length;
            }
            x_ = x;
            y_ = y;
            commands_ += out_.endStitches(run);
            i = static_cast<std::size_t>(p - bytes);
            if (!stopped)
                return true;
            // Decoded again rather than kept: the run's registers are better spent on its
            // position and extent.
            std::int32_t dx = 0;
            std::int32_t dy = 0;
            const std::size_t length = decode(p, static_cast<std::size_t>(stop - p), dx, dy);
            if (!add(StitchKind::Stitch, dx, dy))
                return false;
            p += length;
        }
    }
    // A trim or a colour change where the needle is, then, when its record also holds a move,
    // a jump by that move: the thread is cut or changed before the needle travels.
    bool addThenJump(StitchKind kind, std::int64_t dx, std::int64_t dy)
    {
        return add(kind, 0, 0) && ((dx == 0 && dy == 0) || add(StitchKind::Jump, dx, dy));
    }
    // A command at the absolute position (x, y).
    bool addAt(StitchKind kind, std::int64_t x, std::int64_t y)
    {
        if (beyondLimit(x) || beyondLimit(y))
            return addChecked(kind, x, y);
        // Both within the limit: their difference cannot overflow.
        return add(kind, x - x_, y - y_);
    }
    // From here on the needle lies (dx, dy) thousandths of a millimetre off the positions of
    // the commands (see DesignFactCounter::measureFinely).
    void measureFinely(std::int64_t dx, std::int64_t dy) { out_.measureFinely(dx, dy); }

    // Colour changes + 1.
    std::size_t blocks() const { return colourChanges_ + 1; }

    // The file is refused: returns false, for the reader to return.
    bool refuse(std::string reason)
    {
        if (!refused_) {
            refusal_ = std::move(reason);
            refused_ = true;
            commands_ = SIZE_MAX;
        }
        return false;
    }
    // The design ends: an End command at the last position, and `threads` cut or filled up
    // (with threads of no colour) to one per block. A format that names no threads passes
    // `namesThreads` false and gets an empty list. Returns whether the design was read.
    bool finish(std::vector<DesignThread> threads, bool namesThreads = true)
    {
        add(StitchKind::End, 0, 0);
        if (namesThreads)
            threads.resize(blocks());
        else
            threads.clear();
        threads_ = std::move(threads);
        return !refused_;
    }

    DesignFormat format() const { return format_; }
    const std::string& refusal() const { return refusal_; }
    Output& output() { return out_; }
    std::vector<DesignThread>& threads() { return threads_; }

private:
    // The longest move of a plain stitch on either axis: every format reads each axis of one
    // from a single byte.
    static constexpr std::int64_t kLongestPlainStitch = 128;
    // v + limit, in unsigned arithmetic so that nothing overflows: within the limit when it is
    // at most twice the limit.
    static std::uint64_t offset(std::int64_t v)
    {
        return static_cast<std::uint64_t>(v) + kMaxDesignCoordinate;
    }
    static bool beyondLimit(std::int64_t v)
    {
        return offset(v) > 2 * static_cast<std::uint64_t>(kMaxDesignCoordinate);
    }
    [[gnu::always_inline]] void put(StitchKind kind, std::int64_t x, std::int64_t y,
                                    std::int64_t dx, std::int64_t dy)
    {
        x_ = x;
        y_ = y;
        ++commands_;
        out_.put(kind, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), dx, dy);
    }
    // The limits, the colour changes counted, and a refusal that stays.
    [[gnu::noinline]] bool addChecked(StitchKind kind, std::int64_t x, std::int64_t y)
    {
        if (refused_)
            return false;
        if (commands_ >= kMaxDesignCommands)
            return refuse("more than 5,000,000 commands");
        if (beyondLimit(x) || beyondLimit(y))
            return refuse("a position lies more than 1.6 km from the start");
        if (kind == StitchKind::ColourChange && ++colourChanges_ > kMaxColourChanges)
            return refuse("more than 65,535 colour changes");
        put(kind, x, y, x - x_, y - y_);
        return true;
    }

    DesignFormat format_;
    Output out_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
    std::size_t commands_ = 0; // SIZE_MAX once refused
    std::size_t colourChanges_ = 0;
    std::vector<DesignThread> threads_;
    std::string refusal_;
    bool refused_ = false;
};

using CommandListSink = CommandSink<CommandList>;
using StepSink = CommandSink<StepOutput>;

// The readers, one per format: each reads the file's commands into the sink and ends with its
// finish, or refuses the file. Returns whether the design was read. Made for both sinks.
template <typename Sink> bool readPesInto(std::span<const std::uint8_t> bytes, Sink& sink);
template <typename Sink> bool readPecInto(std::span<const std::uint8_t> bytes, Sink& sink);
template <typename Sink> bool readJefInto(std::span<const std::uint8_t> bytes, Sink& sink);
template <typename Sink> bool readExpInto(std::span<const std::uint8_t> bytes, Sink& sink);
template <typename Sink> bool readVp3Into(std::span<const std::uint8_t> bytes, Sink& sink);
template <typename Sink> bool readXxxInto(std::span<const std::uint8_t> bytes, Sink& sink);

// The PEC block that starts at `at` (its "LA:"), the whole of a PEC file after its signature
// and the stitches of a PES file. Its commands go to the sink; returns the palette index of
// each colour block as the block lists them, or nothing (the sink refusing the file) when the
// block's header does not fit in the file.
template <typename Sink>
std::optional<std::vector<std::uint8_t>> readPecBlock(std::span<const std::uint8_t> bytes,
                                                      std::size_t at, Sink& sink);
// The Brother thread of a PEC palette index (taken modulo the 65 entries; 0 has no colour).
DesignThread pecPaletteThread(unsigned index);
// A change to the colour already in use is a stop, not a new thread: the block keeps the thread
// it had, name and all (one colour may be listed twice under two names).
void keepRepeatedThreads(std::vector<DesignThread>& threads);

} // namespace loomscope::formats
