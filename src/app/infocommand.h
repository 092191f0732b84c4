#pragma once

#include <iosfwd>
#include <string>

namespace loomscope {

// `loomscope --info PATH`: reads the design and its side file as the viewer does and prints
// its facts as one JSON object. Returns the process exit status: 0 done, 1 the file holds no
// design that can be read or its side file cannot be read, 2 no such design.
int runInfoCommand(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace loomscope
