#pragma once

#include <optional>
#include <vector>

namespace loomscope {

class IniFile;

// Where the main window was when the program last closed: its normal (not maximised) frame
// and whether it was maximised. Kept in section "window" of config.ini.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Nothing when the section is missing, incomplete or not numbers, or the size is not positive.
std::optional<WindowPlacement> readWindowPlacement(const IniFile& ini);
void writeWindowPlacement(IniFile& ini, const WindowPlacement& placement);

struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Whether a window placed so could be seen and grabbed: a good part of its top stays on one
// of the screens there are now (a screen may have been unplugged since).
bool placementOnScreens(const WindowPlacement& placement, const std::vector<ScreenArea>& screens);

} // namespace loomscope
