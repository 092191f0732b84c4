#include "urilist.h"

#include "model/uritext.h"

namespace loomscope {

std::vector<std::string> localFilesOfUriList(std::string_view text)
{
    std::vector<std::string> files;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        constexpr std::string_view scheme = "file://";
        if (line.empty() || line.front() == '#' || line.substr(0, scheme.size()) != scheme)
            continue;
        line.remove_prefix(scheme.size());
        // "file:///path" or "file://localhost/path"; another host's file is not ours to open.
        const std::size_t slash = line.find('/');
        if (slash == std::string_view::npos)
            continue;
        const std::string_view host = line.substr(0, slash);
        if (!host.empty() && host != "localhost")
            continue;
        std::string path = percentDecoded(line.substr(slash));
        if (path.find('\0') != std::string::npos)
            continue;
        files.push_back(std::move(path));
    }
    return files;
}

} // namespace loomscope
