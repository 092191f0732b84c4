#include "failedthumbnails.h"

#include "model/codepage.h"
#include "model/embroideryformats.h"
#include "model/fileio.h"
#include "model/uitext.h"
#include "model/uritext.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace loomscope {

namespace {

std::uint32_t bigEndian32(const std::string& s, std::size_t at)
{
    return (std::uint32_t(static_cast<unsigned char>(s[at])) << 24) |
           (std::uint32_t(static_cast<unsigned char>(s[at + 1])) << 16) |
           (std::uint32_t(static_cast<unsigned char>(s[at + 2])) << 8) |
           std::uint32_t(static_cast<unsigned char>(s[at + 3]));
}

bool namesDstFile(const std::string& uri)
{
    std::string path = percentDecoded(uri);
    // A query or fragment is not part of the file name.
    if (const auto cut = path.find_first_of("?#"); cut != std::string::npos)
        path.erase(cut);
    return formatOfFileName(fileNamePart(path)).has_value();
}

} // namespace

std::string thumbnailUri(const std::string& png)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (png.size() < 8 || png.compare(0, 8, signature, 8) != 0)
        return {};
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian32(png, at);
        if (length > png.size() - at - 12)
            return {};
        const std::string type = png.substr(at + 4, 4);
        const std::size_t data = at + 8;
        if (type == "tEXt") {
            const std::string text = png.substr(data, length);
            const auto zero = text.find('\0');
            if (zero != std::string::npos && text.compare(0, zero, "Thumb::URI") == 0)
                return text.substr(zero + 1);
        }
        if (type == "IEND")
            break;
        at = data + length + 4;
    }
    return {};
}

int clearFailedDstThumbnails(const std::string& cacheHome, std::string* error)
{
    const std::string fail = cacheHome + "/thumbnails/fail/";
    int removed = 0;
    for (const std::string& program : folderEntries(fail)) {
        const std::string folder = fail + program + "/";
        for (const std::string& name : folderEntries(folder)) {
            const std::string path = folder + name;
            // Failure records are tiny; anything large is not one.
            const FileBytes file = readWholeFile(path, 1 << 20);
            if (!file.error.empty())
                continue;
            if (!namesDstFile(thumbnailUri(std::string(file.bytes.begin(), file.bytes.end()))))
                continue;
            if (::unlink(path.c_str()) == 0)
                ++removed;
            else if (error && error->empty())
                *error = fillText(uiText("DesktopIntegration", "无法删除 %1：%2"),
                                  {pathDisplayText(path), std::strerror(errno)});
        }
    }
    return removed;
}

} // namespace loomscope
