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

// What a tool reads: a design, its side file as found beside it (none when there is none),
// and other files such as config.ini.
struct ToolInputs {
    std::string design;
    std::optional<std::string> sideFile;
    std::vector<std::string> others;
};
// The design's inputs with its side file looked up (one folder listing at most).
ToolInputs designInputs(const std::string& designPath, std::vector<std::string> others = {});

// Whether `output` would be taken for the side file of a design that has none: a name like
// the design's with ".lsc" in any letter case, in the design's folder.
bool isSideFileNameOf(const std::string& output, const std::string& designPath);

// Whether `output` is an existing design or side file (a design's extension or ".lsc" in any
// letter case):
// no picture, page or report is ever written over one, whichever design it belongs to.
bool isDesignOrSideFile(const std::string& output);

// The input that `output` would overwrite (or, for a design without a side file, become), or
// any other existing design or side file it would replace; nothing when it may be written.
std::optional<std::string> overwrittenInput(const std::string& output, const ToolInputs& inputs);
std::optional<std::string> overwrittenInput(const std::string& output,
                                            const std::vector<std::string>& inputs);

// The user's message for an output refused because it is `input`: both paths named.
std::string overwriteRefusal(const std::string& output, const std::string& input);

} // namespace loomscope
