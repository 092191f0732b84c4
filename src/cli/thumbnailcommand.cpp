#include "thumbnailcommand.h"

#include "browser/pngwriter.h"
#include "browser/pricerules.h"
#include "browser/thumbnaildrawing.h"
#include "config/programhome.h"
#include "model/codepage.h"
#include "model/dstrecords.h"
#include "model/fileio.h"
#include "model/outputguard.h"
#include "model/tembs.h"
#include "tooldesign.h"

#include <ostream>

namespace loomscope {

namespace {

void usage(std::ostream& err)
{
    err << "usage: loomscope --thumbnail [-s SIZE] IN OUT.png\n";
}

} // namespace

int runThumbnailCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err)
{
    int size = kDefaultThumbnailSize;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-s" || args[i] == "--size") {
            const Converted<int> value =
                i + 1 < args.size() ? parseIntegerField(args[++i]) : Converted<int>{};
            if (!value.value || *value.value < 1) {
                err << "loomscope: the size must be a whole number of pixels from 1 to "
                    << kLargestThumbnailSize << '\n';
                usage(err);
                return 2;
            }
            // File managers ask for 128 to 1024; a larger request gets the largest picture.
            size = std::min(*value.value, kLargestThumbnailSize);
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            err << "loomscope: unknown option " << args[i] << '\n';
            usage(err);
            return 2;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        usage(err);
        return 2;
    }
    const std::string& in = files[0];
    const std::string& outPath = files[1];
    // The side file is looked up once: a file manager asks for one thumbnail at a time in
    // folders of tens of thousands of designs.
    const ToolInputs inputs = designInputs(in, {currentConfigFilePath()});
    if (const auto input = overwrittenInput(outPath, inputs)) {
        err << "loomscope: " << overwriteRefusal(outPath, *input) << '\n';
        return 2;
    }

    // Read by content, whatever the name: a sandboxed thumbnailer gets a temporary copy. A
    // side file that cannot be applied still leaves stitches worth a picture.
    Tembs design;
    DesignLoadOptions options{SideFiles::Given, inputs.sideFile};
    options.anyName = true;
    if (!openDesignForTool(design, in, options, "loomscope --thumbnail", err).read())
        return 2;
    const std::vector<std::uint8_t> png = encodePng(drawFileManagerThumbnail(design, size));
    if (png.empty()) {
        err << "loomscope: " << pathDisplayText(in) << ": the picture could not be encoded\n";
        return 1;
    }
    // Into the file itself when it is there: a thumbnail service may have made it and read the
    // picture back through the descriptor it holds (Xfce's does), which a renamed-over file
    // would leave empty.
    if (const std::string error = writeFileInPlace(outPath, png); !error.empty()) {
        err << "loomscope: " << pathDisplayText(outPath) << ": cannot be written: " << error
            << '\n';
        return 1;
    }
    return 0;
}

} // namespace loomscope
