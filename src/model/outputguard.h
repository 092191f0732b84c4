#pragma once

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// Keeps the tools from writing over what they read. A typo in a script ("--export X.dst X.dst")
// must not turn a design, its side file or the program's settings into a picture.

// Whether two paths name the same file: by device and inode when both exist (hard links and
// symbolic links included), else by the path each resolves to (folders' links followed).
bool isSameFile(const std::string& a, const std::string& b);

// The files a design brings with it: the design itself and its side file (the one beside it in
// any letter case, or the name the colour panel would write).
std::vector<std::string> designFiles(const std::string& designPath);

// The first of `inputs` that `output` would overwrite, or nothing.
std::optional<std::string> overwrittenInput(const std::string& output,
                                            const std::vector<std::string>& inputs);

// The user's message for an output refused because it is `input`: both paths named.
std::string overwriteRefusal(const std::string& output, const std::string& input);

} // namespace loomscope
