#include "windowplacement.h"

#include "config/configvalues.h"
#include "config/inifile.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace loomscope {

namespace {

constexpr const char* kSection = "window";

std::optional<int> number(const IniFile& ini, const char* key)
{
    const auto text = ini.value(kSection, key);
    if (!text)
        return std::nullopt;
    int v = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return v;
}

} // namespace

std::optional<WindowPlacement> readWindowPlacement(const IniFile& ini)
{
    const auto x = number(ini, "x");
    const auto y = number(ini, "y");
    const auto width = number(ini, "width");
    const auto height = number(ini, "height");
    if (!x || !y || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    bool maximized = false;
    if (const auto m = ini.value(kSection, "maximized"))
        maximized = parseBoolValue(*m).value.value_or(false);
    return WindowPlacement{*x, *y, *width, *height, maximized};
}

void writeWindowPlacement(IniFile& ini, const WindowPlacement& p)
{
    ini.setValue(kSection, "x", std::to_string(p.x));
    ini.setValue(kSection, "y", std::to_string(p.y));
    ini.setValue(kSection, "width", std::to_string(p.width));
    ini.setValue(kSection, "height", std::to_string(p.height));
    ini.setValue(kSection, "maximized", formatBoolValue(p.maximized));
}

bool placementOnScreens(const WindowPlacement& p, const std::vector<ScreenArea>& screens)
{
    // The top band of the window, where its title bar is, must lie on a screen for at least
    // 100 pixels across and 20 down: enough to see it and drag it back.
    constexpr int kBand = 30;
    for (const ScreenArea& s : screens) {
        const int left = std::max(p.x, s.x);
        const int right = std::min(p.x + p.width, s.x + s.width);
        const int top = std::max(p.y, s.y);
        const int bottom = std::min(p.y + kBand, s.y + s.height);
        if (right - left >= 100 && bottom - top >= 20)
            return true;
    }
    return false;
}

} // namespace loomscope
