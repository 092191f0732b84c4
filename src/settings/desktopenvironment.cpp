#include "desktopenvironment.h"

#include "model/fileio.h"

#include <cstdlib>
#include <filesystem>

namespace loomscope {

namespace {
std::string environment(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// XDG folders must be absolute; a relative value is to be ignored.
std::string folderOr(const char* variable, const std::string& fallback)
{
    const std::string v = environment(variable);
    return !v.empty() && v.front() == '/' ? v : fallback;
}

} // namespace

DesktopEnvironment desktopEnvironmentFromProcess()
{
    const std::string home = environment("HOME");
    DesktopEnvironment e;
    e.dataHome = folderOr("XDG_DATA_HOME", home + "/.local/share");
    e.configHome = folderOr("XDG_CONFIG_HOME", home + "/.config");
    e.cacheHome = folderOr("XDG_CACHE_HOME", home + "/.cache");
    const std::string dirs = environment("XDG_DATA_DIRS");
    std::size_t start = 0;
    while (start < dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && dir.front() == '/')
            e.dataDirs.push_back(dir);
        start = end + 1;
    }
    if (e.dataDirs.empty())
        e.dataDirs = {"/usr/local/share", "/usr/share"};
    e.currentDesktop = environment("XDG_CURRENT_DESKTOP");
    return e;
}

bool desktopSandboxesThumbnailers(const std::string& currentDesktop)
{
    // The value is a colon-separated list ("ubuntu:GNOME", "Budgie:GNOME").
    const std::string d = ":" + asciiLowered(currentDesktop) + ":";
    for (const char* name :
         {":gnome:", ":gnome-classic:", ":gnome-flashback:", ":unity:", ":budgie:", ":pantheon:"})
        if (d.find(name) != std::string::npos)
            return true;
    return false;
}

bool sandboxCanRun(const std::string& programPath)
{
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(programPath, ec);
    const std::string p = ec ? programPath : real.string();
    return p.rfind("/usr/", 0) == 0;
}

} // namespace loomscope
