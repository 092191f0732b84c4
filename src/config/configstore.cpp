#include "configstore.h"

#include <utility>

namespace loomscope {

ConfigStore::ConfigStore(std::string path) : path_(std::move(path))
{
    reload();
}

void ConfigStore::reload()
{
    readError_.clear();
    if (!ini_.load(path_, &readError_))
        ini_ = IniFile();
}

IniUpdate ConfigStore::change(const std::function<void(IniFile&)>& change)
{
    IniFile written;
    const IniUpdate update = updateIniFile(path_, change, &written);
    if (update.ok()) {
        ini_ = std::move(written);
        readError_.clear();
    }
    return update;
}

} // namespace loomscope
