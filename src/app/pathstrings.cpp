#include "pathstrings.h"

#include "model/fileio.h"

#include <QFileInfo>
#include <dirent.h>

namespace loomscope {

std::string existingPathBytes(const QString& path)
{
    const std::string bytes = pathBytes(path);
    if (fileExists(bytes))
        return bytes;
    const QFileInfo info(path);
    const std::string folder = pathBytes(info.absolutePath()) + '/';
    const QString wanted = info.fileName();
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return {};
    std::string found;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir))
        if (QFile::decodeName(entry->d_name) == wanted) {
            found = entry->d_name;
            ++matches;
        }
    ::closedir(dir);
    if (matches != 1 || !fileExists(folder + found))
        return {};
    return folder + found;
}

} // namespace loomscope
