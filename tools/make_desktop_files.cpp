// Writes the desktop entry, the MIME package and the thumbnailer entry for a program that
// will live at PROGRAM into FOLDER. The installation runs it with the installed program's
// path, so that the files name exactly the program the desktop is to start.
//
//   make_desktop_files PROGRAM FOLDER

#include "model/fileio.h"
#include "settings/desktopfiles.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace loomscope;
    if (argc != 3) {
        std::cerr << "usage: make_desktop_files PROGRAM FOLDER\n";
        return 2;
    }
    const std::string program = argv[1];
    const std::string folder = argv[2];
    if (const std::string problem = execPathProblem(program); !problem.empty()) {
        std::cerr << "make_desktop_files: " << problem << '\n';
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::pair<const char*, std::string> files[] = {
        {kDesktopFileName, desktopEntryText(program)},
        {kMimePackageFileName, mimePackageText(dstMimeAliases())},
        {kThumbnailerFileName, thumbnailerText(program)}};
    for (const auto& [name, text] : files) {
        const std::string path = folder + "/" + name;
        const std::string failed = writeFileAtomically(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        if (!failed.empty()) {
            std::cerr << "make_desktop_files: " << path << ": " << failed << '\n';
            return 1;
        }
    }
    return 0;
}
