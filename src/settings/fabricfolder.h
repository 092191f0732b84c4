#pragma once

// The fabric pictures of the program home: the ".bmp" files of its Fabrics folder. A fabric's
// name is its file name without the extension; the extension may be in any letter case, as
// the pictures often come from systems that did not tell "CANVAS.BMP" from "canvas.bmp".

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

struct FabricPicture {
    std::string name; // "canvas"
    std::string path; // the real file, ".../Fabrics/canvas.bmp"
};

// "<home>Fabrics/"; `home` ends in '/'.
std::string fabricFolder(const std::string& home);
bool fabricFolderExists(const std::string& home);

// The pictures in the order a file manager shows them (the folder's own order is arbitrary
// here). A missing or unreadable folder gives an empty list.
std::vector<FabricPicture> listFabrics(const std::string& home);

// The picture of a fabric name: "<name>.bmp" when it exists, else the same name with the
// extension in another letter case; nothing when there is none.
std::optional<std::string> findFabricPicture(const std::string& home, const std::string& name);

} // namespace loomscope
