#pragma once

#include "model/colour.h"

#include <optional>
#include <string>

namespace loomscope {

class IniFile;

// What the main window takes from config.ini each time it is shown: the external editor,
// the view's background and sequin colour and the sequin sizes. Keys are read in that order
// and empty values are skipped; a value that does not convert stops the reading there, with
// the keys before it kept and `error` saying what was wrong.
struct MainConfig {
    std::optional<std::string> editor;
    std::optional<TColor> backcolor;
    std::optional<TColor> sequincolor;
    std::optional<double> size1; // sequin outer diameter, mm
    std::optional<double> size2; // sequin hole diameter, mm
    std::string error;
};

MainConfig readMainConfig(const IniFile& ini, char decimalSeparator = '.');

} // namespace loomscope
