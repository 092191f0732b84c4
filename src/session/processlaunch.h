#pragma once

// The one way the program starts other programs (the editor, the plug-ins, the desktop's
// "open", the refresh tools): from an argument vector, never through a shell. Every argument
// reaches the program exactly as given: paths are the bytes the file system holds, and nothing
// is quoted, split or re-encoded on the way. A program that cannot start is reported with the
// reason.

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// A regular file that this process may execute.
bool isExecutableFile(const std::string& path);

// A name containing '/' is taken as it is; any other is looked for in the folders of $PATH
// that are whole paths (empty and relative entries are passed over).
std::optional<std::string> findProgram(const std::string& name);

// Starts argv[0] (a path) with the arguments and lets it go: it runs in a session of its own,
// is not this program's child (so it is never left as a zombie and outlives the viewer), and
// starts in `workingFolder` when that is not empty. Returns "" once the program has really
// started, else why it could not (for example "No such file or directory").
std::string startDetached(const std::vector<std::string>& argv,
                          const std::string& workingFolder = {});

// Runs argv[0] (a path) to its end with its output discarded. Returns its exit status, or -1
// when it could not be started or did not exit normally.
int runAndWait(const std::vector<std::string>& argv);

// Opens a file, folder or web address in the program the desktop has chosen for it
// (xdg-open). "" once that has started, else why not.
std::string openWithDesktop(const std::string& pathOrUrl);

} // namespace loomscope
