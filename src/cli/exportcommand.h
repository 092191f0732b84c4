#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace loomscope {

// `loomscope --export PATH OUT.jpg [--background #RRGGBB] [--sequin-color #RRGGBB]
//  [--fabric NAME] [--fabric-color #RRGGBB]`: the picture the viewer would save for the
// design, with its side file's colours, the background and sequin colour of config.ini unless
// given, and a fabric of the program home's Fabrics folder only when asked for. Colours on
// the command line are written red first; numbers in the picture use `decimalSeparator`, as
// the viewer's pictures do. `arguments` are those after "--export", as the bytes they came
// in. Needs a QGuiApplication (any platform) and no display. Returns the exit status: 0
// written, 1 failed, 2 bad command line or input.
int runExportCommand(const std::vector<std::string>& arguments, const QString& programHome,
                     char decimalSeparator, std::ostream& out, std::ostream& err);

} // namespace loomscope
