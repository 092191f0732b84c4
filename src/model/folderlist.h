#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loomscope {

// One design of a folder. File names are kept as the bytes the file system holds: designs come
// from Windows systems as "ROSE.DST" and from Chinese archives with names in code page 936, and
// only the real name opens the file.
struct DesignEntry {
    std::string fileName; // as on disk, e.g. "ROSE.DST"
    std::string name;     // the file name without its last extension, e.g. "ROSE"
    // The side file beside it as the folder spells it ("ROSE.LSC"), found in any letter case
    // while the folder was listed; empty when there is none.
    std::string sideFile;
    // Another design of the folder has the same name in another format ("ROSE.DST" and
    // "ROSE.PES"): lists show the whole file name so that the two stay apart.
    bool nameShared = false;
    friend bool operator==(const DesignEntry&, const DesignEntry&) = default;
};

// The name a list shows for the design: its name, or its whole file name where another design
// of the folder shares the name.
inline const std::string& listedName(const DesignEntry& entry)
{
    return entry.nameShared ? entry.fileName : entry.name;
}

// The order a file manager shows a folder in: by name, letter case ignored, runs of digits
// compared as numbers ("2" before "10"); names that are still equal fall back to their bytes,
// so the order is total.
bool fileManagerLess(std::string_view a, std::string_view b);

// Every regular file of the folder with the extension of a format the program reads, in any
// letter case, in file manager order, each with its side file. The folder is listed once, however
// many designs it holds. A folder that cannot be read gives an empty list.
std::vector<DesignEntry> listDesigns(const std::string& folder);

// Position of the design in the list: the entry with exactly this file name, else the first
// whose name matches `name` without regard to letter case; -1 when absent.
int findDesign(const std::vector<DesignEntry>& designs, const std::string& fileName,
               const std::string& name);

// The entry before or after the current design, without wrapping around. A design not in the
// list has no previous one, and the first entry as its next one.
std::optional<DesignEntry> previousDesign(const std::vector<DesignEntry>& designs,
                                          const std::string& fileName, const std::string& name);
std::optional<DesignEntry> nextDesign(const std::vector<DesignEntry>& designs,
                                      const std::string& fileName, const std::string& name);

} // namespace loomscope
