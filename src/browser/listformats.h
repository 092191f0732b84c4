#pragma once

#include <string>

namespace loomscope {

struct Tdstinfo;

// The size columns of the browser's design list, which the price report reads back:
// millimetres as the design has them ("85.3 * 100"), inches as millimetres / 25.4 to three
// decimals ("3.358 * 3.937"), each number in the shortest general form with the given decimal
// separator.
std::string millimetreSizeText(const Tdstinfo& info, char decimalSeparator);
std::string inchSizeText(const Tdstinfo& info, char decimalSeparator);

} // namespace loomscope
