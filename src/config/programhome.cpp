#include "programhome.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace loomscope {

namespace {
std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// Copies what is shipped into a new home, never over files the user already has.
void seed(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (from.empty() || !fs::is_directory(from, ec))
        return;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
}

constexpr const char* kChartsLicence = "charts-LICENSE.txt";

bool holdsCharts(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".tch")
            return true;
    return false;
}

// A home made before these came with the program, or one named by $LOOMSCOPE_HOME, gets the
// shipped fabric pictures when it has no fabric folder, and the shipped thread charts when it
// has no chart at all. What the user has is never touched, nor brought back once removed
// piece by piece.
void seedWhatIsMissing(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (from.empty() || !fs::is_directory(from, ec) || fs::equivalent(from, to, ec))
        return;
    if (!fs::exists(to / "Fabrics", ec) && fs::is_directory(from / "Fabrics", ec))
        fs::copy(from / "Fabrics", to / "Fabrics", fs::copy_options::recursive, ec);
    if (!holdsCharts(to))
        for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".tch")
                fs::copy_file(it->path(), to / it->path().filename(),
                              fs::copy_options::skip_existing, ec);
    // The licence of the shipped charts travels with them (also to homes seeded before it did).
    bool shippedCharts = false;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        shippedCharts = shippedCharts || (it->path().extension() == ".tch" &&
                                          fs::exists(to / it->path().filename()));
    if (shippedCharts && fs::exists(from / kChartsLicence, ec))
        fs::copy_file(from / kChartsLicence, to / kChartsLicence, fs::copy_options::skip_existing,
                      ec);
}
} // namespace

ProgramHome resolveProgramHome(const ProgramHomeInputs& in)
{
    if (!in.environmentHome.empty()) {
        std::error_code ec;
        fs::create_directories(in.environmentHome, ec);
        if (!ec)
            seedWhatIsMissing(in.shippedDataFolder, in.environmentHome);
        return {withSlash(in.environmentHome), ec ? ec.message() : std::string()};
    }
    if (!in.executableFolder.empty() && ::access(in.executableFolder.c_str(), W_OK) == 0)
        return {withSlash(in.executableFolder), {}};
    const fs::path home = fs::path(in.userDataFolder) / "loomscope";
    std::error_code ec;
    const bool fresh = !fs::exists(home, ec);
    fs::create_directories(home, ec);
    if (ec)
        return {withSlash(home.string()), ec.message()};
    if (fresh)
        seed(in.shippedDataFolder, home);
    else
        seedWhatIsMissing(in.shippedDataFolder, home);
    return {withSlash(home.string()), {}};
}

std::string programHomeFolderWithoutMaking(const ProgramHomeInputs& in)
{
    if (!in.environmentHome.empty())
        return withSlash(in.environmentHome);
    if (!in.executableFolder.empty() && ::access(in.executableFolder.c_str(), W_OK) == 0)
        return withSlash(in.executableFolder);
    return withSlash((fs::path(in.userDataFolder) / "loomscope").string());
}

std::string configFilePath(const std::string& programHome)
{
    return programHome + "config.ini";
}

std::string currentConfigFilePath()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const std::string folder =
        startedProgramFolder(ec ? std::string() : self.parent_path().string());
    return programHomeFolderWithoutMaking(currentProgramHomeInputs(folder, {})) + "config.ini";
}

std::string startedProgram(const std::string& fallback)
{
    const char* front = std::getenv("LOOMSCOPE_PROGRAM");
    return front && *front ? std::string(front) : fallback;
}

std::string startedProgramFolder(const std::string& fallbackFolder)
{
    const char* front = std::getenv("LOOMSCOPE_PROGRAM");
    if (!front || !*front)
        return fallbackFolder;
    return fs::path(front).parent_path().string();
}

std::string findManual(const std::string& executableFolder, const std::string& programHome)
{
    const std::string exe = withSlash(executableFolder);
    for (const std::string& candidate :
         {exe + "manual/index.html", exe + "../share/loomscope/manual/index.html",
          withSlash(programHome) + "manual/index.html"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec))
            return fs::path(candidate).lexically_normal().string();
    }
    return {};
}

ProgramHomeInputs currentProgramHomeInputs(const std::string& executableFolder,
                                           const std::string& shippedDataFolder)
{
    ProgramHomeInputs in;
    if (const char* v = std::getenv("LOOMSCOPE_HOME"))
        in.environmentHome = v;
    in.executableFolder = executableFolder;
    if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v)
        in.userDataFolder = v;
    else if (const char* h = std::getenv("HOME"))
        in.userDataFolder = std::string(h) + "/.local/share";
    in.shippedDataFolder = shippedDataFolder;
    return in;
}

} // namespace loomscope
