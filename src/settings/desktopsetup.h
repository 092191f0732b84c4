#pragma once

#include "desktopintegration.h"

#include <QString>

namespace loomscope {

// The absolute path of the program the desktop is to start for DST files and thumbnails:
// the front program "loomscope" in this program's folder.
QString desktopProgramFile();

// The icons carried inside the program, for a per-user association: the application icon and
// the design-file icon in every size of the hicolor theme.
std::vector<IconFile> builtInDesktopIcons();

// What the settings dialog's integration buttons work with: this user's XDG folders, the
// program above, the program home and the built-in icons.
IntegrationSetup desktopIntegrationSetup(const QString& programHome);

} // namespace loomscope
