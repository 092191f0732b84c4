#pragma once

#include <iosfwd>
#include <string>

namespace loomscope {

// `loomscope --info PATH`: reads the design and its side file as the viewer does and prints
// its facts as one JSON object. Returns the process exit status: 0 done, 1 the file or its side
// file cannot be read, 2 no such design or one too short to hold any record.
int runInfoCommand(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace loomscope
