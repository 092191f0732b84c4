#pragma once

// The values of config.ini that the settings dialog and the fabric chooser edit. Reading
// follows the dialog: a key that is absent (or empty, except the editor) leaves the shown
// value as it was, and a value that does not convert stops the reading at that key with the
// keys before it taken. Writing changes only these keys and keeps every other line.

#include "model/colour.h"

#include <functional>
#include <optional>
#include <string>

namespace loomscope {

class ConfigStore;
class IniFile;

// What the settings dialog shows; the members start at the dialog's own defaults.
struct SettingsValues {
    std::string editor;     // path of the external design editor
    bool isfabric = false;  // fabric background on
    std::string fabricname; // a picture of the Fabrics folder, without extension
    TColor fabriccolor = 0xFFFFFF;
    TColor backcolor = 0xEEEEEE;
    TColor sequincolor = 0xB4B4B4;
    std::string size1 = "5";   // sequin outer diameter in mm, as typed
    std::string size2 = "1.5"; // sequin hole in mm, as typed
};

// Reads the keys in the dialog's order (fabricname, isfabric, editor, fabriccolor, backcolor,
// sequincolor, size1, size2) into `values`. A fabric name is taken only when
// `fabricExists(name)` holds. Returns the conversion error that stopped the reading, or "".
std::string readSettings(const IniFile& ini, SettingsValues& values,
                         const std::function<bool(const std::string&)>& fabricExists,
                         char decimalSeparator);

// Writes all eight keys: editor, isfabric, fabricname, fabriccolor, backcolor in "general",
// then size1, size2 and sequincolor in "sequin".
void writeSettings(IniFile& ini, const SettingsValues& values);

// The fabric chooser's keys; a chooser without any picture has no name to write.
void writeFabricChoice(IniFile& ini, const std::optional<std::string>& fabricname,
                       TColor fabriccolor);

// Lets `change` set keys of config.ini and writes it (see ConfigStore::change).
// Returns "" or a message naming the file and what went wrong.
std::string changeConfigFile(ConfigStore& config, const std::function<void(IniFile&)>& change);

} // namespace loomscope
