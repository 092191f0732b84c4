#pragma once

// How a desktop entry (".desktop" file) starts its program for one file, as a file manager
// does it: the Exec key of [Desktop Entry] is unescaped and split by its quoting rules, and
// the field codes are replaced.

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// The Exec value of the [Desktop Entry] group (string escapes undone); nothing when absent.
std::optional<std::string> desktopEntryExec(const std::string& desktopFileText);

// The arguments of an Exec value with `file` for %f/%F, its file: URI for %u/%U, `entryPath`
// for %k; %i, %c and the deprecated codes are dropped, %% is a percent sign. The program is
// looked up in $PATH when it has no '/'. Nothing when the value cannot be split (an open
// quote) or its program is not found.
std::optional<std::vector<std::string>>
expandDesktopExec(const std::string& exec, const std::string& file, const std::string& entryPath);

} // namespace loomscope
