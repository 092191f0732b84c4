#pragma once

#include <string>
#include <vector>

namespace loomscope {

// Where the desktop keeps a user's files and the system's, after the XDG base directory
// rules: tests point these at temporary folders.
struct DesktopEnvironment {
    std::string dataHome;              // $XDG_DATA_HOME, else ~/.local/share
    std::string configHome;            // $XDG_CONFIG_HOME, else ~/.config
    std::string cacheHome;             // $XDG_CACHE_HOME, else ~/.cache
    std::vector<std::string> dataDirs; // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
    std::string currentDesktop;        // $XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
};

DesktopEnvironment desktopEnvironmentFromProcess();

// Whether the desktop's file manager runs thumbnailers in a sandbox that sees only /usr
// (GNOME Files and those built on it). Thunar, Nemo and Caja run them as they are.
bool desktopSandboxesThumbnailers(const std::string& currentDesktop);

// Whether a thumbnailer sandbox that sees only /usr can run the program: its real path (links
// followed) lies below /usr.
bool sandboxCanRun(const std::string& programPath);

} // namespace loomscope
