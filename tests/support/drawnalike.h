#pragma once

#include "model/embroideryformats.h"
#include "model/tembs.h"

#include <gtest/gtest.h>
#include <span>
#include <vector>

namespace loomscope::testsupport {

// Whether two designs are drawn alike: the same extent, first and last points, and the same
// blocks, point for point (position and control byte), with the same colour indices and
// sequin marks. The first difference is named.
inline ::testing::AssertionResult drawnAlike(const Tembs& got, const Tembs& want)
{
    if (got.dstrect() != want.dstrect() || got.firstpoint() != want.firstpoint() ||
        got.lastpoint() != want.lastpoint())
        return ::testing::AssertionFailure() << "the extent or the first or last point differs";
    if (got.Graphlist().Count() != want.Graphlist().Count())
        return ::testing::AssertionFailure()
               << got.Graphlist().Count() << " blocks, not " << want.Graphlist().Count();
    for (int b = 0; b < want.Graphlist().Count(); ++b) {
        const TGraphObject& g = *got.Graphlist().Items(b);
        const TGraphObject& w = *want.Graphlist().Items(b);
        if (g.FColorindex != w.FColorindex || g.Fissequin != w.Fissequin ||
            g.FPointList.size() != w.FPointList.size())
            return ::testing::AssertionFailure()
                   << "block " << b << ": colour index, sequin mark or size differs";
        for (std::size_t k = 0; k < w.FPointList.size(); ++k) {
            const TPoint3F& p = g.FPointList[k];
            const TPoint3F& q = w.FPointList[k];
            if (p.X != q.X || p.Y != q.Y || p.Z != q.Z)
                return ::testing::AssertionFailure() << "block " << b << " point " << k;
        }
    }
    return ::testing::AssertionSuccess();
}

// Whether the program's own read of a file, which makes the DST records and the facts as it
// goes, gives what the list of commands of `read` gives: the same records, facts and threads,
// or the same refusal.
inline ::testing::AssertionResult
readAlike(DesignFormat format, std::span<const std::uint8_t> bytes, const CommandRead& read)
{
    const StepRead drawn = readDesignSteps(format, bytes);
    if (drawn.read != read.design.has_value())
        return ::testing::AssertionFailure()
               << (drawn.read ? "read, where the list refuses: " + read.reason
                              : "refused, where the list reads: " + drawn.reason);
    if (!read.design)
        return drawn.reason == read.reason ? ::testing::AssertionSuccess()
                                           : ::testing::AssertionFailure()
                                                 << "refused as \"" << drawn.reason << "\", not \""
                                                 << read.reason << '"';
    if (drawn.steps != dstSteps(*read.design))
        return ::testing::AssertionFailure() << "the records differ";
    if (drawn.shape && *drawn.shape != dstShapeOf(drawn.steps))
        return ::testing::AssertionFailure() << "the shape found while reading is not theirs";
    if (drawn.facts != commandFacts(*read.design))
        return ::testing::AssertionFailure() << "the facts differ";
    if (drawn.threads != read.design->threads)
        return ::testing::AssertionFailure() << "the threads differ";
    return ::testing::AssertionSuccess();
}

// The colour index of each block, in order.
inline std::vector<int> blockIndices(const Tembs& design)
{
    std::vector<int> indices;
    for (const TGraphObject* block : design.Graphlist())
        indices.push_back(block->FColorindex);
    return indices;
}

// The number of points of each block, in order.
inline std::vector<int> blockSizes(const Tembs& design)
{
    std::vector<int> sizes;
    for (const TGraphObject* block : design.Graphlist())
        sizes.push_back(static_cast<int>(block->FPointList.size()));
    return sizes;
}

} // namespace loomscope::testsupport
