#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// The language of the windows, one of `available` ("zh", the program's own texts, and each
// language it carries a translation into, "en" among them). `forced` ($LOOMSCOPE_LANGUAGE)
// and then `setting` (config.ini's [general] language) choose when they name one of them;
// else the desktop's first language (`preferred`, as the system lists them: "zh-CN",
// "en-GB", "C"…) when there is a translation into it, and English otherwise.
std::string chooseInterfaceLanguage(std::string_view forced, std::string_view setting,
                                    const std::vector<std::string>& preferred,
                                    const std::vector<std::string>& available);

} // namespace loomscope
