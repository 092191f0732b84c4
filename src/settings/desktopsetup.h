#pragma once

#include "desktopintegration.h"

#include <QIcon>
#include <QString>

namespace loomscope {

// The absolute path of the program the desktop is to start for DST files and thumbnails:
// the front program "loomscope" in this program's folder.
QString desktopProgramFile();

// The icons carried inside the program, for a per-user association: the application icon and
// the design-file icon in every size of the hicolor theme.
std::vector<IconFile> builtInDesktopIcons();

// The application icon in every size, for the windows (QApplication::setWindowIcon).
QIcon applicationWindowIcon();

// What the settings dialog's integration buttons work with: this user's XDG folders, the
// program the desktop is to start, the program home and the built-in icons.
IntegrationSetup desktopIntegrationSetup(const QString& programHome, const QString& program);

} // namespace loomscope
