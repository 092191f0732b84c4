#pragma once

// What every format fuzz target checks: the reader stays inside the input and keeps its own
// promises (one thread per block, an End last); the program's own read, which makes the
// records and facts as it goes, gives what the list of commands gives; the DST bytes made of
// the design read back with the same size and colour count, and its records read as moves
// draw what those bytes do.

#include "model/dstrecords.h"
#include "model/embroideryformats.h"
#include "model/tembs.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace loomscope::fuzz {

inline void checkFormatReader(DesignFormat format, const std::uint8_t* data, std::size_t size)
{
    const CommandRead read = readDesign(format, {data, size});
    const StepRead drawn = readDesignSteps(format, {data, size});
    if (drawn.read != read.design.has_value())
        __builtin_trap();
    if (!read.design) {
        if (read.reason.empty() || drawn.reason != read.reason)
            __builtin_trap();
        return;
    }
    const CommandDesign& design = *read.design;
    if (design.commands.empty() || design.commands.back().kind != StitchKind::End)
        __builtin_trap();
    const DesignFacts facts = commandFacts(design);
    if (drawn.facts != facts || drawn.threads != design.threads || drawn.steps != dstSteps(design))
        __builtin_trap();
    if (drawn.shape && *drawn.shape != dstShapeOf(drawn.steps))
        __builtin_trap();
    const auto blocks = static_cast<std::size_t>(facts.colours);
    if (design.threads.size() != (design.format == DesignFormat::Exp ? 0 : blocks))
        __builtin_trap();

    Tembs dst;
    const auto bytes = toDstBytes(design);
    const DstReadStatus status = dst.readdstbytes(bytes);
    // The program reads the records as moves, without the bytes, and with the shape found as
    // they were made: the same outcome, and the same design point for point.
    Tembs steps;
    if (steps.readdststeps(drawn.steps, drawn.shape ? &*drawn.shape : nullptr) != status)
        __builtin_trap();
    if (status != DstReadStatus::Read) {
        // Tembs takes a file of one record or more; a design of none (only its End) makes a
        // shorter one.
        if (bytes.size() > kDstHeaderSize + 7)
            __builtin_trap();
        return;
    }
    if (steps.Graphlist().Count() != dst.Graphlist().Count() || steps.dstrect() != dst.dstrect() ||
        steps.firstpoint() != dst.firstpoint() || steps.lastpoint() != dst.lastpoint() ||
        steps.colorcount() != dst.colorcount() || steps.stitchs() != dst.stitchs())
        __builtin_trap();
    for (int b = 0; b < dst.Graphlist().Count(); ++b) {
        const TGraphObject& got = *steps.Graphlist().Items(b);
        const TGraphObject& want = *dst.Graphlist().Items(b);
        if (got.FPointList.size() != want.FPointList.size() ||
            got.FColorindex != want.FColorindex || got.Fissequin != want.Fissequin)
            __builtin_trap();
        for (std::size_t k = 0; k < want.FPointList.size(); ++k) {
            const TPoint3F& p = got.FPointList[k];
            const TPoint3F& q = want.FPointList[k];
            if (p.X != q.X || p.Y != q.Y || p.Z != q.Z)
                __builtin_trap();
        }
    }
    // A size measured finer than 0.1 mm (VP3) may differ from the drawn one by that much.
    const double grid = design.fineExtent ? 0.1 + 1e-9 : 0;
    if (std::abs(dst.width() - facts.widthMm) > grid ||
        std::abs(dst.height() - facts.heightMm) > grid || dst.colorcount() != facts.colours ||
        dst.stitchs() < facts.stitches)
        __builtin_trap();
}

} // namespace loomscope::fuzz
