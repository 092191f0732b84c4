#include "fabricfolder.h"

#include "model/fileio.h"
#include "model/folderlist.h"

#include <algorithm>
#include <sys/stat.h>

namespace loomscope {

namespace {
bool isBmpExtension(const std::string& extension)
{
    return asciiLowered(extension) == ".bmp";
}
} // namespace

std::string fabricFolder(const std::string& home)
{
    return home + "Fabrics/";
}

bool fabricFolderExists(const std::string& home)
{
    struct stat st {};
    return ::stat(fabricFolder(home).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<FabricPicture> listFabrics(const std::string& home)
{
    std::vector<FabricPicture> pictures;
    const std::string folder = fabricFolder(home);
    for (const std::string& file : folderEntries(folder)) {
        const std::string extension = extensionOf(file);
        // ".bmp" alone is a hidden file, not a fabric without a name.
        if (file.size() > extension.size() && isBmpExtension(extension) &&
            fileExists(folder + file))
            pictures.push_back({withoutExtension(file), folder + file});
    }
    std::sort(pictures.begin(), pictures.end(), [](const auto& a, const auto& b) {
        return fileManagerLess(fileNamePart(a.path), fileNamePart(b.path));
    });
    return pictures;
}

std::optional<std::string> findFabricPicture(const std::string& home, const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    const std::string exact = fabricFolder(home) + name + ".bmp";
    if (fileExists(exact))
        return exact;
    for (const FabricPicture& p : listFabrics(home))
        if (p.name == name)
            return p.path;
    return std::nullopt;
}

} // namespace loomscope
