#pragma once

#include "model/tembs.h"

#include <gtest/gtest.h>
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
