#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// The local files of a "text/uri-list" (what file managers put on a drop), as the bytes the
// file system holds: "file:///d/%D6%D0.dst" gives "/d/" and the two bytes D6 D0, whatever
// encoding they are in. Comment lines, other schemes and files on other hosts are left out.
std::vector<std::string> localFilesOfUriList(std::string_view text);

} // namespace loomscope
