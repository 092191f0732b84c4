#include "worksheetcommand.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "config/programhome.h"
#include "drawing/programfonts.h"
#include "model/codepage.h"
#include "model/colorsequencefile.h"
#include "model/colortable.h"
#include "model/fileio.h"
#include "model/outputguard.h"
#include "model/tembs.h"
#include "print/composepage.h"
#include "print/pagefiles.h"
#include "print/printpage.h"
#include "session/pathstrings.h"
#include "tooldesign.h"

#include <ostream>

namespace loomscope {

int runWorksheetCommand(const std::vector<std::string>& args, const QString& programHome,
                        std::ostream& out, std::ostream& err)
{
    if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
        err << "loomscope --worksheet: a design and a PDF file are needed\n"
               "usage: loomscope --worksheet PATH OUT.pdf\n";
        return 2;
    }
    const std::string& design = args[0];
    const std::string& output = args[1];
    const ToolInputs inputs = designInputs(design, {configFilePath(pathBytes(programHome))});
    if (const auto input = overwrittenInput(output, inputs)) {
        err << "loomscope --worksheet: " << overwriteRefusal(output, *input) << '\n';
        return 2;
    }
    Tembs dst;
    const DesignLoadOptions load{SideFiles::Given, inputs.sideFile};
    if (!openDesignForTool(dst, design, load, "loomscope --worksheet", err).read())
        return 2;

    const std::string home = pathBytes(programHome);
    const ConfigStore config(configFilePath(home));
    if (!config.readError().empty()) {
        err << "loomscope --worksheet: " << config.path() << ": " << config.readError() << '\n';
        return 1;
    }
    const PrintOptionsRead options = readPrintOptions(config.ini());
    if (!options.error.empty()) {
        err << "loomscope --worksheet: " << config.path() << ": " << options.error << '\n';
        return 1;
    }

    PrintPage page;
    page.options = options.options;
    page.placement = initialPlacement(dst, pdfUnitMillimetres());
    page.falsestitches = dst.stitchs();
    page.candraw = true;
    // The swatches show what the viewer would: the design's colours with its side file.
    const std::vector<TColor> colours = colorTableFromBlocks(dst);
    PageSources sources;
    sources.readcolorlist = [&colours](int k) {
        return k >= 0 && k < static_cast<int>(colours.size()) ? colours[std::size_t(k)]
                                                              : TColor{0xFFFFFF};
    };
    sources.config = &config;
    sources.programHome = home;
    sources.decimalSeparator = localeDecimalSeparator();
    const QString title = QString::fromStdString(pathDisplayText(dst.dstfilename()));
    if (const QString failed = writePagePdf(output, dst, page, sources, title); !failed.isEmpty()) {
        err << "loomscope --worksheet: " << failed.toStdString() << '\n';
        return 1;
    }
    out << pathDisplayText(output) << ": worksheet of " << pathDisplayText(dst.dstfilename())
        << ", " << dst.stitchs() << " stitches, " << dst.colorcount() << " colours\n";
    return 0;
}

} // namespace loomscope
