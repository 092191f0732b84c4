#pragma once

// Edits of a mimeapps.list, the file in which a desktop keeps the user's choice of program
// per file type. Every line that is not about the given types stays as it was.

#include <string>
#include <vector>

namespace loomscope {

// Puts `desktopId` first on the lines the file has for the types in [Default Applications]
// and [Added Associations], the user's other programs kept behind it, and takes it off their
// lines in [Removed Associations] (a program the user once removed would otherwise be passed
// over even as the default). A desktop's own list (gnome-mimeapps.list) outranks the common
// one, so its lines must name us first too.
std::string preferringProgram(const std::string& text, const std::vector<std::string>& types,
                              const std::string& desktopId);

// Makes `desktopId` the default program for `type` in [Default Applications] and adds it to
// the "Open With" programs in [Added Associations], first, the others kept (adding the lines
// and sections when there are none).
std::string withDefaultApplication(const std::string& text, const std::string& type,
                                   const std::string& desktopId);

} // namespace loomscope
