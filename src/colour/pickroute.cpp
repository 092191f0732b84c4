#include "pickroute.h"

namespace loomscope {

PickRoute choosePickRoute(std::string_view platform, std::string_view sessionType,
                          bool waylandDisplay)
{
    if (platform.starts_with("wayland"))
        return PickRoute::Portal;
    // An X11 program in a Wayland session runs under XWayland, which sees only X11 windows.
    if (sessionType == "wayland")
        return PickRoute::Portal;
    if (sessionType.empty() && waylandDisplay)
        return PickRoute::Portal;
    return PickRoute::ScreenGrab;
}

} // namespace loomscope
