// LoomScope: a viewer for machine-embroidery designs in the DST format.
//
// This is the program people and file managers start. It holds only the core library, so the
// command-line tools that need no window (--info, --thumbnail, --price-report; a file
// manager's thumbnailer runs once per file) start in a few milliseconds without loading any
// GUI library. Everything that needs Qt
// (the viewer, --export, --worksheet) is the program loomscope-gui, which this one starts in its
// own place.

#include "cli/commandline.h"
#include "cli/infocommand.h"
#include "cli/pricereportcommand.h"
#include "cli/thumbnailcommand.h"
#include "model/fileio.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

std::string thisProgram()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// Replaces this process by the GUI program: beside this one in a build tree, in
// lib/loomscope of an installation. It learns where this program is (its home and the
// desktop entries it writes name this program, not itself).
int runGuiProgram(char* argv[])
{
    const std::string self = thisProgram();
    const std::string folder = loomscope::folderPart(self);
    for (const std::string& candidate :
         {folder + "loomscope-gui", folder + "../lib/loomscope/loomscope-gui"}) {
        if (::access(candidate.c_str(), X_OK) != 0)
            continue;
        ::setenv("LOOMSCOPE_PROGRAM", self.c_str(), 1);
        ::execv(candidate.c_str(), argv);
        std::cerr << "loomscope: cannot start " << candidate << ": " << std::strerror(errno)
                  << '\n';
        return 1;
    }
    std::cerr << "loomscope: the viewer program loomscope-gui is not installed beside " << self
              << '\n';
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace loomscope;
    const CommandLine command = classifyCommandLine(argc, argv);
    switch (command.mode) {
    case CommandMode::Help:
        printUsage(std::cout);
        return 0;
    case CommandMode::Version:
        std::cout << kProgramVersionLine << '\n';
        return 0;
    case CommandMode::Info:
        return runInfoCommand(argv[2], std::cout, std::cerr);
    case CommandMode::Thumbnail:
        return runThumbnailCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    case CommandMode::PriceReport:
        return runPriceReportCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    case CommandMode::Viewer:
    case CommandMode::Export:
    case CommandMode::Worksheet:
        return runGuiProgram(argv);
    case CommandMode::Unknown:
        break;
    }
    std::cerr << "loomscope: " << command.problem << '\n';
    printUsage(std::cerr);
    return 2;
}
