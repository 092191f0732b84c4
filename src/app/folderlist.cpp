#include "folderlist.h"

#include "model/fileio.h"

#include <cctype>
#include <dirent.h>
#include <sys/stat.h>

namespace loomscope {

std::vector<std::string> listDesignNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!hasDstExtension(name))
            continue;
        // Designs only: a folder that happens to be called "x.dst" is not one.
        struct stat st {};
        if (::stat((prefix + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        names.push_back(withoutExtension(name));
    }
    ::closedir(dir);
    return names;
}

int findDesignName(const std::vector<std::string>& names, const std::string& name)
{
    auto same = [](const std::string& a, const std::string& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) !=
                std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    };
    for (std::size_t i = 0; i < names.size(); ++i)
        if (same(names[i], name))
            return static_cast<int>(i);
    return -1;
}

std::optional<std::string> previousDesignName(const std::vector<std::string>& names,
                                              const std::string& current)
{
    const int p = findDesignName(names, current);
    if (p <= 0)
        return std::nullopt;
    return names[static_cast<std::size_t>(p - 1)];
}

std::optional<std::string> nextDesignName(const std::vector<std::string>& names,
                                          const std::string& current)
{
    const int p = findDesignName(names, current);
    if (p >= static_cast<int>(names.size()) - 1)
        return std::nullopt;
    return names[static_cast<std::size_t>(p + 1)];
}

} // namespace loomscope
