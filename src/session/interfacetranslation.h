#pragma once

#include <QString>
#include <string>

namespace loomscope {

// Puts the windows in the language chosen for them (see chooseInterfaceLanguage), reading the
// setting from config.ini in `programHome`. The texts composed by Qt-free code follow too.
// Returns the language used.
std::string installInterfaceLanguage(const QString& programHome);
// The same for a language given: "zh" (the program's own texts) or "en".
void useInterfaceLanguage(const std::string& language);

} // namespace loomscope
