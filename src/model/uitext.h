#pragma once

// Texts the user reads that Qt-free code composes (messages of the desktop integration, the
// editor launcher, the stitch-out counters). The window installs its translator here, so
// these read in the interface's language; the command-line tools install none and keep the
// texts as written.

#include <initializer_list>
#include <string>

namespace loomscope {

using TextTranslator = std::string (*)(const char* context, const char* text);
void setTextTranslator(TextTranslator translator);

// `text` (UTF-8) in the interface's language.
std::string uiText(const char* context, const char* text);
// `pattern` with %1, %2… replaced by the arguments, wherever the translation puts them:
// fillText(uiText("Context", "无法写入 %1：%2"), {path, why}).
std::string fillText(const std::string& pattern, std::initializer_list<std::string> arguments);

} // namespace loomscope
