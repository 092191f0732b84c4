#include "companyinfo.h"

#include "config/inifile.h"

namespace loomscope {

namespace {
constexpr const char* kSection = "companyinfo";

std::string cannotOpen(const std::string& path, const std::string& why)
{
    return "Cannot open file \"" + path + "\". " + why;
}
} // namespace

std::string configFilePath(const std::string& programHome)
{
    return programHome + "config.ini";
}

std::string companyLogoPath(const std::string& programHome)
{
    return programHome + "companylogo.bmp";
}

CompanyInfoRead readcompanyinfo(const std::string& programHome)
{
    CompanyInfoRead read;
    IniFile ini;
    std::string error;
    const std::string path = configFilePath(programHome);
    if (!ini.load(path, &error)) {
        read.error = cannotOpen(path, error);
        return read;
    }
    read.info.comname = ini.value(kSection, "comname").value_or("");
    read.info.website = ini.value(kSection, "website").value_or("");
    read.info.email = ini.value(kSection, "email").value_or("");
    read.info.tel = ini.value(kSection, "tel").value_or("");
    return read;
}

std::string writecompanyinfo(const std::string& programHome, const CompanyInfo& info)
{
    const std::string path = configFilePath(programHome);
    const IniUpdate update = updateIniFile(path, [&](IniFile& ini) {
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
