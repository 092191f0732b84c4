// The DST reader of Tembs: turns the three-byte stitch records of a DST file into colour
// blocks in model units. The 512-byte header is never trusted (real files carry wrong counts
// and extents); everything comes from the records, whose number is fixed by the file size.

#include "dstrecords.h"
#include "fileio.h"
#include "numberformat.h"
#include "palette.h"
#include "tembs.h"
#include "units.h"

#include <algorithm>
#include <new>

namespace loomscope {

namespace {

// The bytes after the last record read: the end record and its neighbours are not read.
constexpr std::size_t kTrailer = 7;
constexpr float kRectMargin = 20;

} // namespace

DstReadStatus Tembs::readdst(const std::string& filepath)
{
    // Read, not mapped: a file cut short by another program while it is read must not be able
    // to take the process down.
    const FileBytes file =
        readWholeFile(filepath, kDstHeaderSize + kTrailer + 3 * (kMaxDstRecords + 1) + 2);
    freadError = file.tooLarge ? std::string() : file.error;
    if (file.tooLarge)
        return keepPreviousDesign(DstReadStatus::TooLarge);
    if (!file.error.empty())
        return keepPreviousDesign(file.missing ? DstReadStatus::Missing
                                               : DstReadStatus::CannotOpen);
    return readdstbytes(file.bytes);
}

DstReadStatus Tembs::keepPreviousDesign(DstReadStatus why)
{
    // The blocks of the previous design stay as they are, and so does the scale they are
    // drawn at; a design that never held blocks starts at scale 1.
    if (FObjectlist.empty())
        Fscale = 1;
    return why;
}

DstReadStatus Tembs::readdstbytes(std::span<const std::uint8_t> bytes)
{
    Fcolorcard = "default";
    if (bytes.size() < kDstHeaderSize + kTrailer + 4)
        return keepPreviousDesign(DstReadStatus::TooShort);
    const std::size_t n = (bytes.size() - kDstHeaderSize - kTrailer) / 3;
    if (n > kMaxDstRecords)
        return keepPreviousDesign(DstReadStatus::TooLarge);

    std::unique_ptr<std::int32_t[]> xy(new (std::nothrow) std::int32_t[2 * n]);
    if (!xy)
        return keepPreviousDesign(DstReadStatus::TooLarge);
    const std::uint8_t* records = bytes.data() + kDstHeaderSize;
    const DstExtent e = decodeDstPositions(records, n, xy.get());
    Fscale = 1;

    // Extent and size. The file's y grows upwards; the model's v = -y grows downwards.
    const std::int32_t minV = -e.maxY;
    const std::int32_t maxV = -e.minY;
    const auto cx = static_cast<float>(e.minX + (double(e.maxX) - e.minX) / 2);
    const auto cy = static_cast<float>(minV + (double(maxV) - minV) / 2);
    const double left = e.minX - double(cx);
    const double top = minV - double(cy);
    const double right = e.maxX - double(cx);
    const double bottom = maxV - double(cy);
    Fstitchs = static_cast<int>(n);
    Fwidth = roundTo1AwayFromZero((right - left) / 10);
    Fheight = roundTo1AwayFromZero((bottom - top) / 10);

    auto point = [&](std::size_t k) {
        return TPoint3F{static_cast<float>((xy[2 * k] - double(cx)) / kDstUnitsPerModelUnit),
                        static_cast<float>((-xy[2 * k + 1] - double(cy)) / kDstUnitsPerModelUnit),
                        records[3 * k + 2]};
    };
    auto emit = [&](std::size_t first, std::size_t count, TColor colour, int index, bool sequin) {
        std::vector<TPoint3F> points;
        points.reserve(count);
        for (std::size_t k = first; k < first + count; ++k)
            points.push_back(point(k));
        addblock(TPointList(std::move(points)), colour, index, sequin);
    };

    // Block pass. A block opens at a stitch (any control byte with both high bits clear:
    // real files carry stitches such as 0x2B that move -81 x and +81 y) and closes at the next
    // break record, which becomes its last point. A colour change closes its block with the
    // old colour index; inside a sequin section breaks are sequins and close nothing.
    clearblocks();
    Fsequins = 0;
    int index = 0;
    TColor colour = paletteColor(0);
    bool sequinMode = false;
    bool blockSequin = false;
    bool open = false;
    std::size_t count = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t c = records[3 * k + 2];
        if (c == kSequinToggle) {
            if (!sequinMode)
                blockSequin = true;
            sequinMode = !sequinMode;
        }
        if (sequinMode && isBreakControl(c))
            ++Fsequins;
        if (isStitchControl(c))
            open = true;
        if (open)
            ++count;
        if (isBreakControl(c) && !sequinMode) {
            if (open) {
                emit(k + 1 - count, count, colour, index, blockSequin);
                blockSequin = false;
                count = 0;
            }
            open = false;
        }
        if (c == kColourChange) {
            ++index;
            colour = paletteColor(index);
        }
    }
    // A last block without its closing record, unless it is a lone stitch.
    if (open && count > 1)
        emit(n - count, count, colour, index, blockSequin);

    Ffirstpoint = {point(0).X, point(0).Y};
    Flastpoint = {point(n - 1).X, point(n - 1).Y};
    Ffirstpoint1 = Ffirstpoint;
    Flastpoint1 = Flastpoint;
    Fcolorcount = index + 1;
    Fdstrect = {static_cast<float>(left / kDstUnitsPerModelUnit - kRectMargin),
                static_cast<float>(top / kDstUnitsPerModelUnit - kRectMargin),
                static_cast<float>(right / kDstUnitsPerModelUnit + kRectMargin),
                static_cast<float>(bottom / kDstUnitsPerModelUnit + kRectMargin)};
    FColorindex = Fcolorcount;
    return DstReadStatus::Read;
}

} // namespace loomscope
