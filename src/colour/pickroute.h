#pragma once

#include <string_view>

namespace loomscope {

// Where a colour picked from the screen comes from. A program under Wayland cannot read the
// screen (an X11 grab there gives a black picture): the desktop portal picks the colour for it.
enum class PickRoute {
    ScreenGrab, // copy the screen and let the user point at the frozen picture
    Portal,     // ask the desktop portal to pick a colour
};

// `platform`: the Qt platform plug-in ("xcb", "wayland"…); `sessionType`: $XDG_SESSION_TYPE;
// `waylandDisplay`: whether $WAYLAND_DISPLAY is set.
PickRoute choosePickRoute(std::string_view platform, std::string_view sessionType,
                          bool waylandDisplay);

} // namespace loomscope
