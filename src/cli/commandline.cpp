#include "commandline.h"

#include <cstring>
#include <ostream>

namespace loomscope {

CommandLine classifyCommandLine(int argc, const char* const* argv)
{
    // A lone "-" or a path: the viewer. A file whose name begins with "-" is opened as
    // "./-name", as with every other program.
    if (argc < 2 || argv[1][0] != '-' || std::strcmp(argv[1], "-") == 0)
        return {CommandMode::Viewer, {}};
    const std::string option = argv[1];
    if (option == "--help" || option == "-h")
        return {CommandMode::Help, {}};
    if (option == "--version")
        return {CommandMode::Version, {}};
    if (option == "--info")
        return argc == 3 ? CommandLine{CommandMode::Info, {}}
                         : CommandLine{CommandMode::Unknown, "--info takes one design"};
    if (option == "--thumbnail")
        return {CommandMode::Thumbnail, {}};
    if (option == "--price-report")
        return {CommandMode::PriceReport, {}};
    if (option == "--export")
        return {CommandMode::Export, {}};
    if (option == "--worksheet")
        return {CommandMode::Worksheet, {}};
    return {CommandMode::Unknown, "unknown option " + option};
}

void printUsage(std::ostream& out)
{
    out << "usage: loomscope [PATH]\n"
           "           the viewer; a second start hands PATH to the running viewer\n"
           "       loomscope --info PATH\n"
           "           the design's facts as one JSON object\n"
           "       loomscope --export PATH OUT.jpg [--background #RRGGBB]\n"
           "                 [--sequin-color #RRGGBB] [--fabric NAME [--fabric-color #RRGGBB]]\n"
           "           the high-resolution thread-look picture of the design\n"
           "       loomscope --thumbnail [-s SIZE] PATH OUT.png\n"
           "           a PNG thumbnail for file managers (SIZE pixels on the longer side,\n"
           "           256 unless given, at most 1024)\n"
           "       loomscope --price-report FOLDER [--start S] [--fee F]\n"
           "                 [--range LOW:HIGH:PRICE]... [-o FILE]\n"
           "           the price report of a folder's designs by stitch count (up to three\n"
           "           ranges, later ones win; prices per thousand stitches)\n"
           "       loomscope --worksheet PATH OUT.pdf\n"
           "           the print window's page as a PDF, with the saved page options\n"
           "       loomscope --help | --version\n"
           "Options that begin with -- need no display and never touch a running viewer.\n"
           "No tool writes over its design, the design's side file or config.ini.\n"
           "Exit status: 0 done (a side file that cannot be applied is said on standard error,\n"
           "and the design keeps the palette's colours); 1 the output could not be written;\n"
           "2 a wrong command line, a design that cannot be read, or an output that is an\n"
           "input; 3 (--price-report) the report was made, but lists designs that could not be\n"
           "read: each is named on standard error and in its row, and charged nothing.\n";
}

} // namespace loomscope
