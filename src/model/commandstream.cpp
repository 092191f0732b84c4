#include "commandstream.h"

#include "numberformat.h"

#include <cstdlib>

namespace loomscope {

using namespace dststeps;

namespace {

// A move too long for one record is cut into equal pieces.
std::size_t recordsForMove(std::int64_t dx, std::int64_t dy)
{
    const std::int64_t longest = std::max(std::abs(dx), std::abs(dy));
    if (longest <= kLongestMove)
        return 1;
    return static_cast<std::size_t>((longest + kLongestMove - 1) / kLongestMove);
}

// DST has no trim of its own: a trim is a jump of the same move, and so is the move to an End.
std::uint8_t controlOf(StitchKind kind)
{
    switch (kind) {
    case StitchKind::Stitch:
        return kStitchControl;
    case StitchKind::ColourChange:
        return kColourChangeControl;
    default:
        return kJumpControl;
    }
}

} // namespace

void DstStepWriter::reserve(std::size_t commands)
{
    if (commands + commands / 8 + 2 > steps_.size())
        steps_.resize(std::min(commands + commands / 8 + 2, kMaxDstRecords));
}

void DstStepWriter::appendMove(std::int64_t dx, std::int64_t dy, std::size_t pieces,
                               std::uint8_t control)
{
    const auto n = static_cast<std::int64_t>(pieces);
    std::int64_t doneX = 0;
    std::int64_t doneY = 0;
    for (std::int64_t k = 1; k <= n; ++k) {
        const std::int64_t toX = dx * k / n;
        const std::int64_t toY = dy * k / n;
        append(step(toX - doneX, toY - doneY, k < n ? kJumpControl : control));
        doneX = toX;
        doneY = toY;
    }
}

bool DstStepWriter::makeRoom(std::size_t n)
{
    if (n > kMaxDstRecords - used_)
        return false;
    if (steps_.size() - used_ < n) {
        // Only the records are carried over into the larger room, not the unwritten rest.
        const std::size_t room = std::min(std::max(2 * steps_.size(), used_ + n), kMaxDstRecords);
        steps_.resize(used_);
        steps_.resize(room);
    }
    return true;
}

void DstStepWriter::put(std::span<const DesignCommand> commands)
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (const DesignCommand& c : commands) {
        put(c.kind, c.x - x, c.y - y);
        x = c.x;
        y = c.y;
    }
}

void DstStepWriter::putRare(StitchKind kind, std::int64_t dx, std::int64_t dy)
{
    if (!started_) {
        // The records start where the first command is.
        started_ = writing_ = true;
        dx = dy = 0;
    }
    if (!writing_) {
        leftOut_ = leftOut_ || dx != 0 || dy != 0;
        return;
    }
    // An End where the needle is writes nothing; one elsewhere is jumped to.
    if (kind == StitchKind::End && dx == 0 && dy == 0) {
        writing_ = false;
        return;
    }
    // A colour change that moves would carry the move's bits in its control byte, and read as
    // no colour change: the needle is jumped there first.
    const bool changeAfterMove = kind == StitchKind::ColourChange && (dx != 0 || dy != 0);
    const std::size_t pieces = recordsForMove(dx, dy) + (changeAfterMove ? 1 : 0);
    if (!makeRoom(pieces)) {
        writing_ = false;
        leftOut_ = true;
        return;
    }
    if (changeAfterMove) {
        appendMove(dx, dy, pieces - 1, kJumpControl);
        append(step(0, 0, kColourChangeControl));
    } else {
        appendMove(dx, dy, pieces, controlOf(kind));
    }
    if (kind == StitchKind::End)
        writing_ = false;
}

DstSteps DstStepWriter::finish()
{
    if (used_ == 1 && makeRoom(1))
        append(step(0, 0, kJumpControl));
    steps_.resize(used_);
    // Written out: nothing more is written, and nothing past the records given away.
    used_ = 0;
    started_ = true;
    writing_ = false;
    return std::move(steps_);
}

void DesignFactCounter::put(std::span<const DesignCommand> commands)
{
    // As a run of stitches is counted: in registers, not in the members.
    Stitches run = beginStitches();
    std::size_t stitches = 0;
    for (const DesignCommand& c : commands) {
        run.include(c.x, c.y);
        if (c.kind == StitchKind::Stitch) {
            ++stitches;
        } else if (c.kind == StitchKind::ColourChange) {
            endStitches(run, stitches);
            closeBlock();
            stitches = 0;
        }
    }
    endStitches(run, stitches);
}

void DesignFactCounter::closeBlock()
{
    closedBlocks_.push_back(blockStitches_);
    blockStitches_ = 0;
}

void DesignFactCounter::foldSection()
{
    if (minX_ > maxX_)
        return; // no position since the last fold
    allMinX_ = std::min<std::int64_t>(allMinX_, minX_);
    allMaxX_ = std::max<std::int64_t>(allMaxX_, maxX_);
    allMinY_ = std::min<std::int64_t>(allMinY_, minY_);
    allMaxY_ = std::max<std::int64_t>(allMaxY_, maxY_);
    if (finely_)
        fine_ = {std::min(fine_[0], 100 * std::int64_t{minX_} + fineDx_),
                 std::min(fine_[1], 100 * std::int64_t{minY_} + fineDy_),
                 std::max(fine_[2], 100 * std::int64_t{maxX_} + fineDx_),
                 std::max(fine_[3], 100 * std::int64_t{maxY_} + fineDy_)};
    minX_ = minY_ = INT32_MAX;
    maxX_ = maxY_ = INT32_MIN;
}

void DesignFactCounter::measureFinely(std::int64_t dx, std::int64_t dy)
{
    foldSection();
    finely_ = true;
    fineDx_ = dx;
    fineDy_ = dy;
}

std::optional<std::array<std::int64_t, 4>> DesignFactCounter::extent()
{
    foldSection();
    if (allMinX_ > allMaxX_)
        return std::nullopt;
    return std::array{allMinX_, allMinY_, allMaxX_, allMaxY_};
}

std::optional<std::array<std::int64_t, 4>> DesignFactCounter::fineExtent()
{
    foldSection();
    if (!finely_ || fine_[0] > fine_[2])
        return std::nullopt;
    return fine_;
}

double millimetresOfThousandths(std::int64_t length)
{
    return roundTo1AwayFromZero(double(length) / 1000);
}

DesignFacts DesignFactCounter::facts()
{
    DesignFacts facts;
    facts.blockStitches = closedBlocks_;
    facts.blockStitches.push_back(blockStitches_);
    for (const int n : facts.blockStitches)
        facts.stitches += n;
    facts.colours = static_cast<int>(facts.blockStitches.size());
    if (const auto fine = fineExtent()) {
        facts.widthMm = millimetresOfThousandths((*fine)[2] - (*fine)[0]);
        facts.heightMm = millimetresOfThousandths((*fine)[3] - (*fine)[1]);
    } else if (allMinX_ <= allMaxX_) {
        facts.widthMm = roundTo1AwayFromZero((allMaxX_ - allMinX_) / 10.0);
        facts.heightMm = roundTo1AwayFromZero((allMaxY_ - allMinY_) / 10.0);
    }
    return facts;
}

} // namespace loomscope
