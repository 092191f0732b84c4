// LoomScope: a viewer for machine-embroidery designs in the DST format.
//
//   loomscope [PATH]           the viewer (one instance per user)
//   loomscope --info PATH      the design's facts as JSON, no display needed

#include "app/infocommand.h"

#include <cstring>
#include <iostream>
#include <string>

namespace {

void printUsage(std::ostream& out)
{
    out << "usage: loomscope [PATH]\n"
           "       loomscope --info PATH\n";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) {
        const std::string option = argv[1];
        if (option == "--info" && argc == 3)
            return loomscope::runInfoCommand(argv[2], std::cout, std::cerr);
        if (option == "--help") {
            printUsage(std::cout);
            return 0;
        }
        printUsage(std::cerr);
        return 2;
    }
    // Until the viewer window exists, the program describes the design it was given.
    if (argc >= 2)
        return loomscope::runInfoCommand(argv[1], std::cout, std::cerr);
    printUsage(std::cerr);
    return 2;
}
