#pragma once

#include "colour.h"
#include "tpointlist.h"

#include <string>

namespace loomscope {

// One colour block: a run of points sewn in one thread colour. A block ends at every jump,
// but only a colour change advances the colour index, so neighbouring blocks may share one.
struct TGraphObject {
    TPointList FPointList;
    TColor FColor = 0;
    bool Fisxiu = false;    // kept for layout compatibility; nothing sets or reads it
    std::string FColorname; // UTF-8; empty until a side file names the thread
    int FColorindex = 0;
    bool Fissequin = false; // the block holds a sequin section
};

} // namespace loomscope
