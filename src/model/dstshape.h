#pragma once

// The first look at a design's DST records, before any point is made: how far they reach and
// where its colour blocks lie, so that the points can then be made straight into blocks
// allocated at their size and centred on the design.

#include "dstrecords.h"
#include "tpoint3f.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace loomscope {

// Where a colour block lies among the records.
struct DstBlockSpan {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::int32_t index = 0;
    bool sequin = false;
    friend bool operator==(const DstBlockSpan&, const DstBlockSpan&) = default;
};

struct DstShape {
    DstExtent extent; // of the positions reached from the start of the first record
    std::vector<DstBlockSpan> spans;
    int sequins = 0;
    int colourCount = 0;
    friend bool operator==(const DstShape&, const DstShape&) = default;
};

// Finds the shape of records fed to it in order. A block opens at a stitch (any control byte
// with both high bits clear: real files carry stitches such as 0x2B that move -81 x and +81 y)
// and closes at the next break record, which becomes its last point. A colour change closes
// its block with the old colour index; inside a sequin section breaks are sequins and close
// nothing.
class DstShapeFinder {
public:
    // `Record`: the three bytes of a file's record, or a DstStep.
    template <typename Record> void feed(const Record* r, std::size_t count)
    {
        const Record* const end = dstRecordsOn(r, count);
        // The position and extent in locals: the record bytes may alias anything, so members
        // would be stored and loaded again at every record.
        std::int32_t x = x_;
        std::int32_t y = y_;
        DstExtent e = extent_;
        for (const Record* p = r; p != end; p = dstRecordsOn(p, 1)) {
            addDstMove(p, x, y);
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
        }
        x_ = x;
        y_ = y;
        extent_ = e;
        controls(r, count);
    }

    // The blocks of records whose extent is known otherwise, from their control bytes alone.
    template <typename Record> void controls(const Record* r, std::size_t count)
    {
        const Record* const end = dstRecordsOn(r, count);
        std::size_t k = k_;
        std::size_t run = count_;
        bool open = open_;
        for (const Record* p = r; p != end; p = dstRecordsOn(p, 1), ++k) {
            const std::uint8_t c = dstControl(p);
            if (isStitchControl(c)) {
                open = true;
                ++run;
                continue; // the common case: nothing else to do
            }
            if (c == kSequinToggle) {
                if (!sequinMode_)
                    blockSequin_ = true;
                sequinMode_ = !sequinMode_;
            }
            if (open)
                ++run;
            if (isBreakControl(c)) {
                if (sequinMode_) {
                    ++sequins_;
                } else {
                    if (open) {
                        count_ = run;
                        close(k + 1);
                        run = 0;
                    }
                    open = false;
                }
            }
            if (c == kColourChange)
                ++index_;
        }
        k_ = k;
        count_ = run;
        open_ = open;
    }
    // `n` stitch records, known to be nothing else, of a known extent.
    void stitches(std::size_t n)
    {
        if (n == 0)
            return;
        open_ = true;
        count_ += n;
        k_ += n;
    }

    // The shape of the records fed.
    DstShape finish() { return finish(extent_); }
    // The same of records given only as control bytes (controls, stitches), which reach
    // `extent`.
    DstShape finish(const DstExtent& extent)
    {
        // A last block without its closing record, unless it is a lone stitch.
        if (open_ && count_ > 1)
            close(k_);
        open_ = false;
        return {extent, std::move(spans_), sequins_, index_ + 1};
    }

private:
    void close(std::size_t end)
    {
        spans_.push_back({static_cast<std::uint32_t>(end - count_),
                          static_cast<std::uint32_t>(count_), index_, blockSequin_});
        blockSequin_ = false;
        count_ = 0;
    }

    std::vector<DstBlockSpan> spans_;
    DstExtent extent_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::size_t k_ = 0;
    std::int32_t index_ = 0;
    int sequins_ = 0;
    bool sequinMode_ = false;
    bool blockSequin_ = false;
    bool open_ = false;
    std::size_t count_ = 0;
};

inline DstShape dstShapeOf(std::span<const DstStep> steps)
{
    DstShapeFinder finder;
    finder.feed(steps.data(), steps.size());
    return finder.finish();
}

} // namespace loomscope
