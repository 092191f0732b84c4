// The DST reader of Tembs: turns the three-byte stitch records of a DST file into colour
// blocks in model units. The 512-byte header is never trusted (real files carry wrong counts
// and extents); everything comes from the records, whose number is fixed by the file size.
//
// The records are gone through twice, in pieces: once for the extent and where the blocks
// lie, once to decode the positions again straight into blocks allocated at their size. A file
// is read piece by piece for each pass rather than held whole, so that a read needs little
// more memory than the points it makes (a million-record design is read in a few
// milliseconds, and shops open such designs all day). The designs of the other formats come
// here as the records of their DST, given as moves (DstStep), mostly with their shape found
// while the records were made, so that only the second pass goes through them.

#include "dstrecords.h"
#include "dstshape.h"
#include "fileio.h"
#include "numberformat.h"
#include "palette.h"
#include "tembs.h"
#include "units.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

namespace loomscope {

namespace {

// The bytes after the last record read: the end record and its neighbours are not read.
constexpr std::size_t kTrailer = 7;
constexpr float kRectMargin = 20;
// Records read from a file at a time.
constexpr std::size_t kPieceRecords = 1 << 17;

std::size_t recordCountOf(std::uint64_t fileSize)
{
    return static_cast<std::size_t>((fileSize - kDstHeaderSize - kTrailer) / 3);
}

// Model coordinates of the file positions lo..hi, each `(p - centre) / kDstUnitsPerModelUnit`
// exactly as a point computes it, when the range is small enough to tabulate: a design
// visits the same few thousand columns and rows a million times over.
class CoordinateTable {
public:
    CoordinateTable(std::int32_t lo, std::int32_t hi, double centre) : lo_(lo), centre_(centre)
    {
        if (std::int64_t{hi} - lo >= kMaxEntries)
            return;
        values_.resize(static_cast<std::size_t>(hi - lo) + 1);
        for (std::size_t i = 0; i < values_.size(); ++i)
            values_[i] = convert(lo + static_cast<std::int32_t>(i));
    }
    float operator()(std::int32_t p) const
    {
        return values_.empty() ? convert(p) : values_[static_cast<std::size_t>(p - lo_)];
    }
    // The table (position lowest() first), or null when there is none.
    const float* table() const { return values_.empty() ? nullptr : values_.data(); }
    std::int32_t lowest() const { return lo_; }

private:
    static constexpr std::int64_t kMaxEntries = 1 << 16;
    float convert(std::int32_t p) const
    {
        return static_cast<float>((p - centre_) / kDstUnitsPerModelUnit);
    }
    std::int32_t lo_;
    double centre_;
    std::vector<float> values_;
};

// The second pass: the points of every block found by the first, in model units.
class PointPass {
public:
    PointPass(const std::vector<DstBlockSpan>& spans, const CoordinateTable& toX,
              const CoordinateTable& toV)
        : spans_(spans), toX_(toX), toV_(toV)
    {
        blocks.reserve(spans.size());
        startBlock();
    }
    template <typename Record> void feed(const Record* r, std::size_t count)
    {
        if (k_ == 0 && count > 0) {
            std::int32_t x = 0;
            std::int32_t y = 0;
            addDstMove(r, x, y);
            first = {toX_(x), toV_(-y), 0};
        }
        // In runs: the records up to the next block only move; a block's records are points.
        // Position and tables in locals: the record bytes may alias anything.
        std::int32_t x = x_;
        std::int32_t y = y_;
        const float* xs = toX_.table();
        const float* vs = toV_.table();
        const std::int32_t xlo = toX_.lowest();
        const std::int32_t vlo = toV_.lowest();
        while (count > 0) {
            if (k_ < begin_) {
                const std::size_t skip = std::min<std::size_t>(begin_ - k_, count);
                for (const Record* end = dstRecordsOn(r, skip); r != end; r = dstRecordsOn(r, 1))
                    addDstMove(r, x, y);
                k_ += skip;
                count -= skip;
                continue;
            }
            // Appended to room reserved at the block's size: a point is written once, not
            // cleared first.
            const std::size_t take = std::min(want_ - points_.size(), count);
            if (xs && vs) {
                for (const Record* end = dstRecordsOn(r, take); r != end; r = dstRecordsOn(r, 1)) {
                    addDstMove(r, x, y);
                    points_.push_back({xs[x - xlo], vs[-y - vlo], dstControl(r)});
                }
            } else {
                for (const Record* end = dstRecordsOn(r, take); r != end; r = dstRecordsOn(r, 1)) {
                    addDstMove(r, x, y);
                    points_.push_back({toX_(x), toV_(-y), dstControl(r)});
                }
            }
            k_ += take;
            count -= take;
            if (points_.size() == want_) {
                blocks.push_back(std::move(points_));
                ++span_;
                startBlock();
            }
        }
        x_ = x;
        y_ = y;
    }
    TPoint3F point(std::uint8_t control) const { return {toX_(x_), toV_(-y_), control}; }
    bool complete() const { return span_ == spans_.size(); }

    std::vector<std::vector<TPoint3F>> blocks;
    TPoint3F first{};

private:
    void startBlock()
    {
        begin_ = span_ < spans_.size() ? spans_[span_].first : SIZE_MAX;
        want_ = span_ < spans_.size() ? spans_[span_].count : 0;
        points_ = {};
        points_.reserve(want_);
    }

    const std::vector<DstBlockSpan>& spans_;
    const CoordinateTable& toX_;
    const CoordinateTable& toV_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::size_t k_ = 0;
    std::size_t span_ = 0;
    std::size_t begin_ = 0;
    std::size_t want_ = 0;
    std::vector<TPoint3F> points_;
};

// The records of a file, fed to a pass a piece at a time. False when they could not all be
// read as they were when the file was opened.
template <typename Pass>
bool feedFromFile(ReadableFile& file, std::size_t n, std::uint8_t* piece, Pass& pass)
{
    for (std::size_t k = 0; k < n; k += kPieceRecords) {
        const std::size_t count = std::min(kPieceRecords, n - k);
        if (file.readAt(kDstHeaderSize + 3 * std::uint64_t{k}, piece, 3 * count) != 3 * count)
            return false;
        pass.feed(piece, count);
    }
    return true;
}

} // namespace

// What both readers share once the records are known to be there: the two passes, then the
// design's fields, set only when everything was read.
template <typename Feed>
DstReadStatus Tembs::readrecords(std::size_t n, Feed&& feed, const DstShape* known)
{
    DstShape found;
    if (!known) {
        DstShapeFinder finder;
        if (!feed(finder))
            return keepPreviousDesign(DstReadStatus::CannotOpen);
        found = finder.finish();
    }
    const DstShape& shape = known ? *known : found;
    const DstExtent& e = shape.extent;

    // Extent and size. The file's y grows upwards; the model's v = -y grows downwards.
    const std::int32_t minV = -e.maxY;
    const std::int32_t maxV = -e.minY;
    const auto cx = static_cast<float>(e.minX + (double(e.maxX) - e.minX) / 2);
    const auto cy = static_cast<float>(minV + (double(maxV) - minV) / 2);
    const double left = e.minX - double(cx);
    const double top = minV - double(cy);
    const double right = e.maxX - double(cx);
    const double bottom = maxV - double(cy);

    const CoordinateTable toX(e.minX, e.maxX, double(cx));
    const CoordinateTable toV(minV, maxV, double(cy));
    PointPass points(shape.spans, toX, toV);
    if (!feed(points) || !points.complete())
        return keepPreviousDesign(DstReadStatus::CannotOpen);

    clearblocks();
    Fthreadcolours.clear();
    FObjectlist.reserve(points.blocks.size());
    for (std::size_t i = 0; i < points.blocks.size(); ++i) {
        const DstBlockSpan& span = shape.spans[i];
        addblock(TPointList(std::move(points.blocks[i])), paletteColor(span.index), span.index,
                 span.sequin);
    }
    Fscale = 1;
    Fstitchs = static_cast<int>(n);
    Fwidth = roundTo1AwayFromZero((right - left) / 10);
    Fheight = roundTo1AwayFromZero((bottom - top) / 10);
    Fsequins = shape.sequins;
    Fcolorcount = shape.colourCount;
    Ffirstpoint = {points.first.X, points.first.Y};
    const TPoint3F last = points.point(0);
    Flastpoint = {last.X, last.Y};
    Ffirstpoint1 = Ffirstpoint;
    Flastpoint1 = Flastpoint;
    Fdstrect = {static_cast<float>(left / kDstUnitsPerModelUnit - kRectMargin),
                static_cast<float>(top / kDstUnitsPerModelUnit - kRectMargin),
                static_cast<float>(right / kDstUnitsPerModelUnit + kRectMargin),
                static_cast<float>(bottom / kDstUnitsPerModelUnit + kRectMargin)};
    FColorindex = Fcolorcount;
    return DstReadStatus::Read;
}

DstReadStatus Tembs::readdst(const std::string& filepath)
{
    // Read, not mapped: a file cut short by another program while it is read must not be able
    // to take the process down.
    Fcolorcard = "default";
    ReadableFile file(filepath);
    freadError = file.error();
    if (!file.isOpen())
        return keepPreviousDesign(file.missing() ? DstReadStatus::Missing
                                                 : DstReadStatus::CannotOpen);
    if (file.size() < kDstHeaderSize + kTrailer + 4)
        return keepPreviousDesign(DstReadStatus::TooShort);
    const std::size_t n = recordCountOf(file.size());
    if (n > kMaxDstRecords)
        return keepPreviousDesign(DstReadStatus::TooLarge);

    // A file written to while it is read could give half of the old design and half of the
    // new one: each pass checks that it read the file as it was opened.
    // A design of one piece is read once and gone through twice.
    const bool whole = n <= kPieceRecords;
    const auto piece =
        std::make_unique_for_overwrite<std::uint8_t[]>(3 * std::min(n, kPieceRecords));
    struct ReadOnly {
        void feed(const std::uint8_t*, std::size_t) {}
    } readOnly;
    const bool readWhole = whole && feedFromFile(file, n, piece.get(), readOnly);
    const DstReadStatus status = whole && !readWhole
                                     ? keepPreviousDesign(DstReadStatus::CannotOpen)
                                     : readrecords(n, [&](auto& pass) {
                                           if (whole)
                                               pass.feed(piece.get(), n);
                                           else if (!feedFromFile(file, n, piece.get(), pass))
                                               return false;
                                           return !file.changedSinceOpened();
                                       });
    if (status != DstReadStatus::Read)
        freadError = file.error().empty() ? "the file changed while it was read" : file.error();
    return status;
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
    const std::size_t n = recordCountOf(bytes.size());
    if (n > kMaxDstRecords)
        return keepPreviousDesign(DstReadStatus::TooLarge);
    const std::uint8_t* records = bytes.data() + kDstHeaderSize;
    return readrecords(n, [&](auto& pass) {
        pass.feed(records, n);
        return true;
    });
}

DstReadStatus Tembs::readdststeps(std::span<const DstStep> steps, const DstShape* shape)
{
    Fcolorcard = "default";
    // As the file of these records: one record and the trailer are too short to be a design.
    if (steps.size() < 2)
        return keepPreviousDesign(DstReadStatus::TooShort);
    if (steps.size() > kMaxDstRecords)
        return keepPreviousDesign(DstReadStatus::TooLarge);
    // The points are made within the given extent: one too small would index past its tables.
    assert(!shape || *shape == dstShapeOf(steps));
    return readrecords(
        steps.size(),
        [&](auto& pass) {
            pass.feed(steps.data(), steps.size());
            return true;
        },
        shape);
}

} // namespace loomscope
