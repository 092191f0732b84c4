#pragma once

#include <string>

namespace loomscope {

struct Tdstinfo;

// The six-line design summary: name, stitches, colours, sequins, size in millimetres and in
// inches, lines separated by a carriage return.
std::string summaryText(const std::string& designName, const Tdstinfo& info,
                        char decimalSeparator = '.');
// Its captions, one per line.
std::string summaryCaptions();

} // namespace loomscope
