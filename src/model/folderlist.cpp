#include "folderlist.h"

#include "colorsequencefile.h"
#include "embroideryformats.h"
#include "fileio.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace loomscope {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

unsigned char folded(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// -1, 0 or 1 as a is before, level with or after b, letter case ignored and digit runs
// compared by value.
int naturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            // Leading zeros do not change the value.
            std::size_t si = i;
            std::size_t sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            if (const int c = a.substr(si, ei - si).compare(b.substr(sj, ej - sj)); c != 0)
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const unsigned char ca = folded(a[i]);
        const unsigned char cb = folded(b[j]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

int find(const std::vector<DesignEntry>& designs, const std::string& fileName,
         const std::string& name)
{
    for (std::size_t i = 0; i < designs.size(); ++i)
        if (!fileName.empty() && designs[i].fileName == fileName)
            return static_cast<int>(i);
    for (std::size_t i = 0; i < designs.size(); ++i)
        if (sameIgnoringCase(designs[i].name, name))
            return static_cast<int>(i);
    return -1;
}

} // namespace

bool fileManagerLess(std::string_view a, std::string_view b)
{
    if (const int c = naturalCompare(a, b); c != 0)
        return c < 0;
    return a < b;
}

std::vector<DesignEntry> listDesigns(const std::string& folder)
{
    std::vector<DesignEntry> designs;
    // Side files by their name in lower case; of several spellings, the first in byte order.
    std::unordered_map<std::string, std::string> sideFiles;
    std::unordered_set<std::string> names;
    const std::vector<FolderEntry> entries = folderEntriesWithKinds(folder);
    for (const FolderEntry& entry : entries) {
        const std::string& fileName = entry.name;
        const std::string ext = extensionOf(fileName);
        if (!entry.regularFile || ext.size() != 4 || asciiLowered(ext) != ".lsc")
            continue;
        names.insert(fileName);
        auto [at, added] = sideFiles.try_emplace(asciiLowered(fileName), fileName);
        if (!added && fileName < at->second)
            at->second = fileName;
    }
    auto sideFileOf = [&](const std::string& name) -> std::string {
        if (sideFiles.empty())
            return {};
        const std::string exact = fileNamePart(sideFilePath(name));
        if (names.count(exact))
            return exact;
        // Only the first spelling of each name is looked at, as findSideFile does.
        const auto it = sideFiles.find(asciiLowered(exact));
        return it != sideFiles.end() ? it->second : std::string();
    };
    designs.reserve(entries.size());
    for (const FolderEntry& entry : entries) {
        // Designs only: a folder that happens to be called "x.dst" is not one.
        if (!entry.regularFile || !formatOfFileName(entry.name))
            continue;
        std::string name = withoutExtension(entry.name);
        std::string side = sideFileOf(name);
        designs.push_back({entry.name, std::move(name), std::move(side)});
    }
    std::sort(designs.begin(), designs.end(), [](const DesignEntry& x, const DesignEntry& y) {
        return fileManagerLess(x.fileName, y.fileName);
    });
    std::unordered_map<std::string, int> uses;
    for (const DesignEntry& d : designs)
        ++uses[asciiLowered(d.name)];
    for (DesignEntry& d : designs)
        d.nameShared = uses[asciiLowered(d.name)] > 1;
    return designs;
}

int findDesign(const std::vector<DesignEntry>& designs, const std::string& fileName,
               const std::string& name)
{
    return find(designs, fileName, name);
}

std::optional<DesignEntry> previousDesign(const std::vector<DesignEntry>& designs,
                                          const std::string& fileName, const std::string& name)
{
    const int p = find(designs, fileName, name);
    if (p <= 0)
        return std::nullopt;
    return designs[static_cast<std::size_t>(p - 1)];
}

std::optional<DesignEntry> nextDesign(const std::vector<DesignEntry>& designs,
                                      const std::string& fileName, const std::string& name)
{
    const int p = find(designs, fileName, name);
    if (p >= static_cast<int>(designs.size()) - 1)
        return std::nullopt;
    return designs[static_cast<std::size_t>(p + 1)];
}

} // namespace loomscope
