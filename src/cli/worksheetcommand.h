#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace loomscope {

// `loomscope --worksheet PATH OUT.pdf`: the print window's page for the design as a PDF, with
// the page options saved in config.ini, the placement the window would choose, the side
// file's colours and the shop's details. Needs a QGuiApplication (any platform) and no
// display. Returns the exit status: 0 written, 1 the file could not be written (or config.ini
// not read), 2 bad command line or design. `args` are those after "--worksheet", as the bytes
// they came in.
int runWorksheetCommand(const std::vector<std::string>& args, const QString& programHome,
                        std::ostream& out, std::ostream& err);

} // namespace loomscope
