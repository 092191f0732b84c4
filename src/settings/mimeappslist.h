#pragma once

// Edits of a mimeapps.list, the file in which a desktop keeps the user's choice of program
// per file type. Every line that is not about the given types stays as it was.

#include <string>
#include <vector>

namespace loomscope {

// Removes the user's earlier choices for the types: their lines in [Default Applications]
// and [Added Associations], and `desktopId` from their lines in [Removed Associations] (a
// program the user once removed would otherwise be passed over even as the default).
std::string withoutUserChoices(const std::string& text, const std::vector<std::string>& types,
                               const std::string& desktopId);

// Makes `desktopId` the default program for `type` in [Default Applications] (adding the
// section when there is none).
std::string withDefaultApplication(const std::string& text, const std::string& type,
                                   const std::string& desktopId);

} // namespace loomscope
