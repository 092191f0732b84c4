#pragma once

// The page options of the print window and how config.ini keeps them (section "printer",
// booleans written -1 and 0).

#include <array>
#include <string>

namespace loomscope {

class IniFile;

struct PrintOptions {
    bool cominfo = true;    // company block: logo and the four company lines
    bool designinfo = true; // design block: name, counts, scale, sizes
    bool color = true;      // the colour swatches
    bool border = true;     // the rule along the top of the frame
    bool truetype = false;  // shaded thread lines instead of plain 1-pixel lines
    bool beginend = false;  // cross-hairs at the first and last stitch
    bool points = false;    // kept and restored only
    bool function = false;  // kept and restored only
    friend bool operator==(const PrintOptions&, const PrintOptions&) = default;
};

struct PrintOptionKey {
    const char* key;
    bool PrintOptions::*field;
};
// In the order they are read and written.
inline constexpr std::array<PrintOptionKey, 8> kPrintOptionKeys{{
    {"cominfo", &PrintOptions::cominfo},
    {"designinfo", &PrintOptions::designinfo},
    {"color", &PrintOptions::color},
    {"border", &PrintOptions::border},
    {"truetype", &PrintOptions::truetype},
    {"beginend", &PrintOptions::beginend},
    {"points", &PrintOptions::points},
    {"function", &PrintOptions::function},
}};
inline constexpr const char* kPrinterSection = "printer";

// The options as saved. A key that is absent or empty keeps its default (a first use of the
// print window has none saved). A value that is not a boolean stops the reading there: the
// keys before it are applied, `error` is the conversion message.
struct PrintOptionsRead {
    PrintOptions options;
    std::string error;
};
PrintOptionsRead readPrintOptions(const IniFile& ini);

// Sets the eight keys in table order; the file's other lines stay as they are.
void writePrintOptions(IniFile& ini, const PrintOptions& options);

} // namespace loomscope
