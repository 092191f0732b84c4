#pragma once

// The shop's details that printed pages (and exported pictures) carry: four texts in section
// "companyinfo" of config.ini and the logo "companylogo.bmp", both in the program home.

#include <string>

namespace loomscope {

class ConfigStore;

struct CompanyInfo {
    std::string comname; // company name
    std::string website;
    std::string email;
    std::string tel;
    bool empty() const
    {
        return comname.empty() && website.empty() && email.empty() && tel.empty();
    }
};

struct CompanyInfoRead {
    CompanyInfo info;
    std::string error; // config.ini exists but cannot be read; the texts are empty then
};

// The four keys as the program holds config.ini, each empty when absent. A missing
// config.ini is no error.
CompanyInfoRead readcompanyinfo(const ConfigStore& config);

// Writes the four keys (comname, website, email, tel), keeping every other line of the file.
// Empty on success, else a message naming the file.
std::string writecompanyinfo(ConfigStore& config, const CompanyInfo& info);

std::string companyLogoPath(const std::string& programHome);

} // namespace loomscope
