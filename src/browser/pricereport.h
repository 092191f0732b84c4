#pragma once

#include "pricerules.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// The stitch-count price report of a folder: plain text, one line per design, laid out in
// columns for a monospaced font in which a Chinese character takes two columns. Texts are
// UTF-8; lines end in CR LF so the file reads the same on the shop's other systems.

// One design as the browser's list shows it.
struct PriceReportRow {
    std::string name; // the row's caption
    std::string size; // its "Size(mm)" text
    int stitches = 0;
    // Why the design could not be read. Such a row names the design and the reason in place
    // of its size, stitches, unit price and amount, and adds nothing to the total.
    std::string error = {};
};

struct PriceReportInput {
    std::string folder; // the folder as shown to the user, ending in '/'
    std::vector<PriceReportRow> rows;
    std::size_t entries = 0;   // designs in the folder's list
    std::string totalStitches; // the total field's text
};

struct PriceReport {
    std::string text;  // empty when the options did not convert
    std::string error; // the conversion text of the first field that did not
};

// The whole report; the decimal separator is used for the unit prices and amounts.
PriceReport buildPriceReport(const PriceReportInput& input, const PriceFields& fields,
                             char decimalSeparator);

// Pieces of the layout.
// The text padded with spaces to 2 x |w| display columns, a character below U+0100 counting
// one column and any other two; w > 0 puts the spaces in front, otherwise behind. A text that
// is already as wide stays as it is.
std::string padToDisplayWidth(std::string_view text, int w);
// The longest prefix of whole characters that takes at most `maxBytes` bytes in code page 936
// (two for a Chinese character); the characters themselves stay as they are.
std::string cutToCodePageBytes(std::string_view text, std::size_t maxBytes);
// The folder centred over the 90-column table when it is shorter than 95 characters.
std::string reportTitle(std::string_view folder);
// Two decimals, halves away from zero as a shop rounds money.
std::string formatAmount(double amount, char decimalSeparator);

} // namespace loomscope
