#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace loomscope {

// `loomscope --price-report FOLDER [--start S] [--fee F] [--range LOW:HIGH:PRICE]... [-o FILE]`:
// the price report of a folder's designs, exactly the text the browser's report button
// writes, on standard output or atomically into FILE. Up to three ranges, in order; options
// left out are 0, as the option fields start. `args` are the words after "--price-report".
// Returns 0 done, 1 the report could not be written, 2 a wrong command line, a missing folder,
// an output that is one of the folder's designs, side files or config.ini, or a number that
// does not convert (its conversion text goes to `err`), and kSomeDesignsUnreadable when the
// report was made but names designs that could not be read (each also named on `err`).
inline constexpr int kSomeDesignsUnreadable = 3;
int runPriceReportCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err);
// The same with the decimal separator for prices given, instead of the user's locale's.
int runPriceReportCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err, char decimalSeparator);

} // namespace loomscope
