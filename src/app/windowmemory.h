#pragma once

#include "windowplacement.h"

#include <optional>
#include <string>

class QWidget;

namespace loomscope {

class ConfigStore;

// Where a window was when the program last closed, kept in config.ini.
// restore places the window as it was (a place on a screen that is gone since is given up for
// the centre of the screen, the size kept) and returns what it read; keep writes the window's
// place when it differs from `atStart`, and only then: it is the one thing written on exit.
std::optional<WindowPlacement> restoreWindowPlacement(QWidget& window, const ConfigStore& config);
void keepWindowPlacement(const QWidget& window, ConfigStore& config,
                         std::optional<WindowPlacement>& atStart);

} // namespace loomscope
