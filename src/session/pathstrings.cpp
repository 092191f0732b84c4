#include "pathstrings.h"

#include "model/fileio.h"

#include <QFileInfo>

namespace loomscope {

std::string existingPathBytes(const QString& path)
{
    const std::string bytes = pathBytes(path);
    if (fileExists(bytes))
        return bytes;
    const QFileInfo info(path);
    const std::string folder = pathBytes(info.absolutePath()) + '/';
    const QString wanted = info.fileName();
    std::string found;
    int matches = 0;
    for (const std::string& entry : folderEntries(folder))
        if (QFile::decodeName(entry.c_str()) == wanted) {
            found = entry;
            ++matches;
        }
    if (matches != 1 || !fileExists(folder + found))
        return {};
    return folder + found;
}

} // namespace loomscope
