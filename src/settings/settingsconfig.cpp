#include "settingsconfig.h"

#include "config/configstore.h"
#include "config/configvalues.h"
#include "model/codepage.h"
#include "model/uitext.h"

namespace loomscope {

std::string readSettings(const IniFile& ini, SettingsValues& values,
                         const std::function<bool(const std::string&)>& fabricExists,
                         char decimalSeparator)
{
    auto present = [&](const char* section, const char* key) -> std::optional<std::string> {
        auto v = ini.value(section, key);
        if (v && v->empty())
            return std::nullopt;
        return v;
    };

    if (auto name = present("general", "fabricname"); name && fabricExists(*name))
        values.fabricname = *name;
    if (auto v = present("general", "isfabric")) {
        const auto b = parseBoolValue(*v);
        if (!b.value)
            return b.error;
        values.isfabric = *b.value;
    }
    // An empty editor is a choice too: it clears the field.
    if (auto v = ini.value("general", "editor"))
        values.editor = *v;
    const std::pair<const char*, const char*> colourKeys[] = {
        {"general", "fabriccolor"}, {"general", "backcolor"}, {"sequin", "sequincolor"}};
    TColor* colourFields[] = {&values.fabriccolor, &values.backcolor, &values.sequincolor};
    for (int i = 0; i < 3; ++i) {
        if (auto v = present(colourKeys[i].first, colourKeys[i].second)) {
            const auto c = parseColourValue(*v);
            if (!c.value)
                return c.error;
            *colourFields[i] = *c.value;
        }
    }
    // Sizes stay as typed, but one the main window could not read is reported here as well.
    for (auto [key, field] :
         {std::pair{"size1", &values.size1}, std::pair{"size2", &values.size2}}) {
        if (auto v = present("sequin", key)) {
            const auto s = parseSizeValue(*v, decimalSeparator);
            if (!s.value)
                return s.error;
            *field = *v;
        }
    }
    return {};
}

void writeSettings(IniFile& ini, const SettingsValues& values)
{
    ini.setValue("general", "editor", values.editor);
    ini.setValue("general", "isfabric", formatBoolValue(values.isfabric));
    ini.setValue("general", "fabricname", values.fabricname);
    ini.setValue("general", "fabriccolor", formatColourValue(values.fabriccolor));
    ini.setValue("general", "backcolor", formatColourValue(values.backcolor));
    ini.setValue("sequin", "size1", values.size1);
    ini.setValue("sequin", "size2", values.size2);
    ini.setValue("sequin", "sequincolor", formatColourValue(values.sequincolor));
}

void writeFabricChoice(IniFile& ini, const std::optional<std::string>& fabricname,
                       TColor fabriccolor)
{
    if (fabricname)
        ini.setValue("general", "fabricname", *fabricname);
    ini.setValue("general", "fabriccolor", formatColourValue(fabriccolor));
}

std::string changeConfigFile(ConfigStore& config, const std::function<void(IniFile&)>& change)
{
    const IniUpdate update = config.change(change);
    const std::string& path = config.path();
    if (update.ok())
        return {};
    if (update.readFailed)
        return fillText(uiText("TForm4", "无法读取配置文件 %1：%2"),
                        {pathDisplayText(path), update.error});
    return fillText(uiText("TForm4", "无法保存配置文件 %1：%2"),
                    {pathDisplayText(path), update.error});
}

} // namespace loomscope
