#pragma once

#include "colour.h"

#include <string>
#include <vector>

namespace loomscope {

class Tembs;

// The facts of a design as one JSON object (the --info output): counts, sizes, extent, first
// and last point, the colour blocks and the colour table.
std::string designInfoJson(const Tembs& design, const std::vector<TColor>& colortable);

// A JSON string literal; invalid UTF-8 becomes U+FFFD so the output is always valid JSON.
std::string jsonString(const std::string& text);

} // namespace loomscope
