#include "companyinfo.h"

#include "config/configstore.h"

namespace loomscope {

namespace {
constexpr const char* kSection = "companyinfo";

std::string cannotOpen(const std::string& path, const std::string& why)
{
    return "Cannot open file \"" + path + "\". " + why;
}
} // namespace

std::string companyLogoPath(const std::string& programHome)
{
    return programHome + "companylogo.bmp";
}

CompanyInfoRead readcompanyinfo(const ConfigStore& config)
{
    CompanyInfoRead read;
    if (!config.readError().empty()) {
        read.error = cannotOpen(config.path(), config.readError());
        return read;
    }
    const IniFile& ini = config.ini();
    read.info.comname = ini.value(kSection, "comname").value_or("");
    read.info.website = ini.value(kSection, "website").value_or("");
    read.info.email = ini.value(kSection, "email").value_or("");
    read.info.tel = ini.value(kSection, "tel").value_or("");
    return read;
}

std::string writecompanyinfo(ConfigStore& config, const CompanyInfo& info)
{
    const std::string& path = config.path();
    const IniUpdate update = config.change([&](IniFile& ini) {
        ini.setValue(kSection, "comname", info.comname);
        ini.setValue(kSection, "website", info.website);
        ini.setValue(kSection, "email", info.email);
        ini.setValue(kSection, "tel", info.tel);
    });
    if (update.readFailed)
        return cannotOpen(path, update.error);
    if (!update.ok())
        return "Cannot create file \"" + path + "\". " + update.error;
    return {};
}

} // namespace loomscope
