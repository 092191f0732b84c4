#pragma once

#include "colour.h"

#include <vector>

namespace loomscope {

class Tembs;

// The thread colour of every colour index of a design, as the viewer keeps it: for each run
// of blocks with one colour index, the colour of its first block. An index without any block
// (two colour changes in a row) keeps its default palette colour.
std::vector<TColor> colorTableFromBlocks(const Tembs& design);

} // namespace loomscope
