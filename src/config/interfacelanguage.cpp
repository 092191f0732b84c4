#include "interfacelanguage.h"

#include <algorithm>

namespace loomscope {

std::string chooseInterfaceLanguage(std::string_view forced, std::string_view setting,
                                    const std::vector<std::string>& preferred,
                                    const std::vector<std::string>& available)
{
    const auto known = [&](std::string_view language) {
        return std::find(available.begin(), available.end(), language) != available.end();
    };
    if (known(forced))
        return std::string(forced);
    if (known(setting))
        return std::string(setting);
    if (!preferred.empty()) {
        // "zh-Hans-CN", "pt_BR.UTF-8": the language is what comes before the region.
        const std::string& first = preferred.front();
        const std::string language = first.substr(0, first.find_first_of("-_.@"));
        if (known(language))
            return language;
    }
    return "en";
}

} // namespace loomscope
