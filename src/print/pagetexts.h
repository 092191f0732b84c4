#pragma once

// The texts the page prints about the design and the answers the print window takes from the
// user: the printed stitch count and the names pages are saved under.

#include <string>
#include <string_view>

namespace loomscope {

class Tembs;

// The values of the design block, in the order the page prints them.
struct DesignBlockValues {
    std::string name;     // the design's file name without extension, readable
    std::string colors;   // colour count
    std::string stitches; // the printed stitch count
    std::string sequins;
    std::string scale;    // printed size over sewn size, "0.00" (1.00 at actual size)
    std::string sizeMm;   // "85.3 * 60"
    std::string sizeInch; // "3.358 * 2.362"
};
// `actualScale` is the design scale at which the page shows it at its sewn size.
DesignBlockValues designBlockValues(const Tembs& design, int printedStitches,
                                    char decimalSeparator = '.', float actualScale = 1);

// Two decimals, halves away from zero: "1.00", "0.78".
std::string formatScale(double scale, char decimalSeparator = '.');

// An answer to the "change stitch count" box.
struct StitchCountAnswer {
    enum class Kind {
        Unchanged,        // empty: nothing changes
        IllegalCharacter, // a character that is not a digit 0-9
        NotAnInteger,     // digits only, but beyond a 32-bit signed number
        Accepted,
    };
    Kind kind = Kind::Unchanged;
    int value = 0;
    std::string error; // the conversion message for NotAnInteger
};
StitchCountAnswer parseStitchCount(std::string_view answer);

// The name a page is saved under: the extension (".bmp", ".pdf") is added unless the name
// already ends in it, in any letter case.
std::string withExtension(const std::string& name, std::string_view extension);

} // namespace loomscope
