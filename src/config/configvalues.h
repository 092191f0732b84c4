#pragma once

// The value forms of config.ini: colours as hexadecimal digits of the red-low colour value,
// booleans as -1 and 0, sizes as decimal numbers. A value that does not convert is an error
// whose text names the value, as the user will see it.

#include "model/colour.h"

#include <optional>
#include <string>

namespace loomscope {

template <typename T> struct Converted {
    std::optional<T> value;
    std::string error; // set when the text does not convert
};

// "EEEEEE" is 0xEEEEEE (red in the low byte): read as a hexadecimal integer with a "$" in
// front, so one to eight digits; the colour is its low 24 bits.
Converted<TColor> parseColourValue(const std::string& text);
// At least six upper-case digits: white is FFFFFF, pure red 0000FF.
std::string formatColourValue(TColor colour);

// Any number other than 0 is true ("-1", "1.0", "0.5"), 0 is false; True and False in any
// letter case too.
Converted<bool> parseBoolValue(const std::string& text);
// -1 and 0.
std::string formatBoolValue(bool value);

// A decimal number with the user's decimal separator; a "." is taken as well. The C library's
// locale plays no part.
Converted<double> parseSizeValue(const std::string& text, char decimalSeparator = '.');

} // namespace loomscope
