#pragma once

// What the format readers share: a cursor that cannot read past its end, the design being
// built with its limits, and the PEC block that PES files carry inside them.

#include "model/embroideryformats.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace loomscope::formats {

inline int signed8(std::uint8_t b)
{
    return b < 0x80 ? b : b - 0x100;
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

// The commands of a design as a reader finds them, positions summed up from the origin. Every
// add checks the limits of embroideryformats.h; once one is passed the design is refused and
// every further add returns false, so a reader stops at its next record.
class CommandSink {
public:
    // `expectedCommands` reserves room (bounded here, whatever the file made of it).
    CommandSink(DesignFormat format, std::size_t expectedCommands);

    // A command moved by (dx, dy) from the current position.
    [[gnu::always_inline]] bool add(StitchKind kind, std::int64_t dx, std::int64_t dy)
    {
        return addAt(kind, x_ + dx, y_ + dy);
    }
    // A trim or a colour change where the needle is, then, when its record also holds a move,
    // a jump by that move: the thread is cut or changed before the needle travels.
    bool addThenJump(StitchKind kind, std::int64_t dx, std::int64_t dy)
    {
        return add(kind, 0, 0) && ((dx == 0 && dy == 0) || add(StitchKind::Jump, dx, dy));
    }
    // A command at the absolute position (x, y).
    [[gnu::always_inline]] bool addAt(StitchKind kind, std::int64_t x, std::int64_t y)
    {
        // Every record of a file comes here: the common case is kept small enough to be
        // inlined into the readers' loops, everything else is left to addChecked.
        if (refused_ || commands_.size() >= kMaxDesignCommands ||
            kind == StitchKind::ColourChange || beyondLimit(x) || beyondLimit(y)) [[unlikely]]
            return addChecked(kind, x, y);
        x_ = x;
        y_ = y;
        commands_.push_back({kind, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
        return true;
    }

    // Colour changes + 1.
    std::size_t blocks() const { return colourChanges_ + 1; }
    // The commands so far.
    std::size_t size() const { return commands_.size(); }

    // The design with an End command at the last position and `threads` cut or filled up
    // (with threads of no colour) to one per block; or the refusal. A format that names no
    // threads passes `namesThreads` false and gets an empty list.
    CommandRead finish(std::vector<DesignThread> threads, bool namesThreads = true);

private:
    static bool beyondLimit(std::int64_t v)
    {
        // In unsigned arithmetic, so that no value overflows.
        return static_cast<std::uint64_t>(v) + kMaxDesignCoordinate >
               2 * static_cast<std::uint64_t>(kMaxDesignCoordinate);
    }
    // The limits, the colour changes counted, and a refusal that stays.
    bool addChecked(StitchKind kind, std::int64_t x, std::int64_t y);
    bool refuse(std::string reason)
    {
        refusal_ = std::move(reason);
        refused_ = true;
        return false;
    }

    DesignFormat format_;
    std::vector<DesignCommand> commands_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
    std::size_t colourChanges_ = 0;
    std::string refusal_;
    bool refused_ = false;
};

inline CommandRead refused(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

// The PEC block that starts at `at` (its "LA:"), the whole of a PEC file after its signature
// and the stitches of a PES file. Its commands go to the sink; returns the palette index of
// each colour block as the block lists them, or nothing (with `reason`) when the block's
// header does not fit in the file.
std::optional<std::vector<std::uint8_t>> readPecBlock(std::span<const std::uint8_t> bytes,
                                                      std::size_t at, CommandSink& sink,
                                                      std::string& reason);
// The Brother thread of a PEC palette index (taken modulo the 65 entries; 0 has no colour).
DesignThread pecPaletteThread(unsigned index);
// A change to the colour already in use is a stop, not a new thread: the block keeps the thread
// it had, name and all (one colour may be listed twice under two names).
void keepRepeatedThreads(std::vector<DesignThread>& threads);

} // namespace loomscope::formats
