#include "windowmemory.h"

#include "config/configstore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace loomscope {

namespace {
WindowPlacement placementOf(const QWidget& window)
{
    const QRect normal =
        window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    return {normal.x(), normal.y(), normal.width(), normal.height(), window.isMaximized()};
}
} // namespace

std::optional<WindowPlacement> restoreWindowPlacement(QWidget& window, const ConfigStore& config)
{
    const std::optional<WindowPlacement> placement = readWindowPlacement(config.ini());
    if (!placement)
        return placement;
    std::vector<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect a = screen->availableGeometry();
        screens.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    // The inner area is kept and restored (a move would place the frame there instead, and
    // the window would creep by its title bar at every start).
    if (placementOnScreens(*placement, screens))
        window.setGeometry(placement->x, placement->y, placement->width, placement->height);
    else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.resize(placement->width, placement->height);
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    if (placement->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return placement;
}

void keepWindowPlacement(const QWidget& window, ConfigStore& config,
                         std::optional<WindowPlacement>& atStart)
{
    const WindowPlacement now = placementOf(window);
    if (atStart && *atStart == now)
        return;
    if (config.change([&](IniFile& ini) { writeWindowPlacement(ini, now); }).ok())
        atStart = now;
}

} // namespace loomscope
