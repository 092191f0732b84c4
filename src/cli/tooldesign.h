#pragma once

#include "model/designfile.h"

#include <iosfwd>
#include <string>

namespace loomscope {

// A design opened for a command-line tool by the rule every route follows (see DesignLoad):
// a design that cannot be read is named with the reason on `err` and the tool then exits with
// status 2; a side file that cannot be applied is one line on `err` and the tool goes on with
// the palette colours. `tool` begins each line ("loomscope --export").
DesignLoad openDesignForTool(Tembs& design, const std::string& path,
                             const DesignLoadOptions& options, const std::string& tool,
                             std::ostream& err);

} // namespace loomscope
