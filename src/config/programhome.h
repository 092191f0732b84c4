#pragma once

#include <string>

namespace loomscope {

// The folder "beside the program" that holds config.ini, Fabrics/ and the other files the
// program keeps: $LOOMSCOPE_HOME when set; else the program's own folder when it can be
// written (a build tree, a portable copy); else the per-user data folder
// ($XDG_DATA_HOME/loomscope, normally ~/.local/share/loomscope), which is made and seeded
// with the shipped files (fabric pictures and the like) the first time.
struct ProgramHomeInputs {
    std::string environmentHome; // $LOOMSCOPE_HOME
    std::string executableFolder;
    std::string userDataFolder; // $XDG_DATA_HOME or ~/.local/share
    // where an installation keeps its data (share/loomscope), or the build tree; may be empty
    std::string shippedDataFolder;
};

struct ProgramHome {
    std::string folder; // always ends in '/'
    std::string error;  // set when the folder could not be made
};

ProgramHome resolveProgramHome(const ProgramHomeInputs& inputs);
// The same folder, found without making or seeding anything: for the command-line tools,
// which only need to know where config.ini is so as never to write over it.
std::string programHomeFolderWithoutMaking(const ProgramHomeInputs& inputs);
// config.ini of the program home `programHome` (ending in '/').
std::string configFilePath(const std::string& programHome);
// config.ini of this process's program home (found as above from `loomscope`'s folder).
std::string currentConfigFilePath();

// The program `loomscope` that the user or the desktop started: it names itself to the GUI
// program it starts (LOOMSCOPE_PROGRAM). `fallback` when this process was started directly.
// Desktop entries and the thumbnailer name this program; its folder finds the shipped data.
std::string startedProgram(const std::string& fallback);
std::string startedProgramFolder(const std::string& fallbackFolder);

// The program's manual (an HTML page installed with it): beside the executable in a build
// tree, in the installation's shared data, or in the program home. Empty when there is none.
std::string findManual(const std::string& executableFolder, const std::string& programHome);

// The inputs of this process: its environment and where its executable lies.
ProgramHomeInputs currentProgramHomeInputs(const std::string& executableFolder,
                                           const std::string& shippedDataFolder);

} // namespace loomscope
