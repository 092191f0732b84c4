#include "mainconfig.h"

#include "configvalues.h"
#include "inifile.h"

namespace loomscope {

MainConfig readMainConfig(const IniFile& ini, char decimalSeparator)
{
    MainConfig config;
    auto text = [&](const char* section, const char* key) -> std::optional<std::string> {
        auto v = ini.value(section, key);
        if (v && v->empty())
            return std::nullopt;
        return v;
    };
    // Each step takes its key, or stops the reading with the conversion's message.
    auto take = [&](auto converted, auto& into) {
        if (!converted.error.empty()) {
            config.error = converted.error;
            return false;
        }
        into = converted.value;
        return true;
    };

    config.editor = text("general", "editor");
    if (auto v = text("general", "backcolor"); v && !take(parseColourValue(*v), config.backcolor))
        return config;
    if (auto v = text("sequin", "sequincolor");
        v && !take(parseColourValue(*v), config.sequincolor))
        return config;
    if (auto v = text("sequin", "size1");
        v && !take(parseSizeValue(*v, decimalSeparator), config.size1))
        return config;
    if (auto v = text("sequin", "size2");
        v && !take(parseSizeValue(*v, decimalSeparator), config.size2))
        return config;
    return config;
}

} // namespace loomscope
