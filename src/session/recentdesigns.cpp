#include "recentdesigns.h"

#include "config/configstore.h"
#include "model/codepage.h"
#include "model/fileio.h"
#include "model/uritext.h"
#include "urilist.h"

#include <algorithm>

namespace loomscope {

namespace {

constexpr const char* kSection = "recent";

std::string key(std::size_t i)
{
    return "file" + std::to_string(i + 1);
}

std::string stored(const std::string& path)
{
    if (isUtf8(path))
        return path;
    return "file://" + percentEncoded(path);
}

std::string unstored(const std::string& value)
{
    if (value.rfind("file://", 0) != 0)
        return value;
    const auto files = localFilesOfUriList(value);
    return files.empty() ? std::string() : files.front();
}

} // namespace

std::vector<std::string> readRecentDesigns(const IniFile& ini)
{
    std::vector<std::string> designs;
    for (std::size_t i = 0; i < kMaxRecentDesigns; ++i) {
        const auto value = ini.value(kSection, key(i));
        if (!value)
            continue;
        const std::string path = unstored(*value);
        if (path.empty() || path.front() != '/' ||
            std::find(designs.begin(), designs.end(), path) != designs.end())
            continue;
        designs.push_back(path);
    }
    return designs;
}

void writeRecentDesigns(IniFile& ini, const std::vector<std::string>& designs)
{
    // Every key is written, the unused ones empty: a shorter list leaves no old entry behind.
    for (std::size_t i = 0; i < kMaxRecentDesigns; ++i)
        ini.setValue(kSection, key(i), i < designs.size() ? stored(designs[i]) : std::string());
}

std::vector<std::string> withRecentDesign(std::vector<std::string> designs, const std::string& path)
{
    designs.erase(std::remove(designs.begin(), designs.end(), path), designs.end());
    designs.insert(designs.begin(), path);
    if (designs.size() > kMaxRecentDesigns)
        designs.resize(kMaxRecentDesigns);
    return designs;
}

std::vector<std::string> existingDesigns(const std::vector<std::string>& designs)
{
    std::vector<std::string> there;
    std::copy_if(designs.begin(), designs.end(), std::back_inserter(there),
                 [](const std::string& p) { return fileExists(p); });
    return there;
}

std::string keepRecentDesigns(ConfigStore& config, const std::vector<std::string>& designs)
{
    if (config.readError().empty() && readRecentDesigns(config.ini()) == designs)
        return {}; // nothing to write
    return config.change([&](IniFile& ini) { writeRecentDesigns(ini, designs); }).error;
}

} // namespace loomscope
