#pragma once

#include <string>

namespace loomscope {

// File managers remember a file whose thumbnail could not be made and do not try it again
// until the file changes (GNOME keeps one PNG per file under
// $XDG_CACHE_HOME/thumbnails/fail/<program>/, naming the file in its "Thumb::URI" text).
// After a thumbnailer for DST files appears, those records would hide it: this removes the
// records of every design file (".dst", ".pes" and the other formats read, any letter case)
// and returns how many.
// Records of other files stay. `error` gets the first record that could not be removed.
int clearFailedDstThumbnails(const std::string& cacheHome, std::string* error = nullptr);

// The "Thumb::URI" text of a thumbnail PNG; empty when the bytes hold none.
std::string thumbnailUri(const std::string& pngBytes);

} // namespace loomscope
