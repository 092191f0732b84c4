#pragma once

#include <QColor>
#include <QIcon>
#include <QSize>

namespace loomscope {

enum class ReplayIcon { Play, Pause, Stop, Restart };

// The pictures of the replay's buttons, drawn by the program: a green symbol on the panel's
// grey, the same symbol in grey for a disabled button. 17 x 17 pixels, 27 x 27 for restart.
QIcon replayIcon(ReplayIcon which, const QColor& panel);
QSize replayIconSize(ReplayIcon which);

} // namespace loomscope
