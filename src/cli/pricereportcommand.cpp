#include "pricereportcommand.h"

#include "browser/listformats.h"
#include "browser/pricereport.h"
#include "config/programhome.h"
#include "model/codepage.h"
#include "model/designfile.h"
#include "model/fileio.h"
#include "model/folderlist.h"
#include "model/numberformat.h"
#include "model/outputguard.h"
#include "model/summarytext.h"
#include "model/tembs.h"

#include <filesystem>
#include <langinfo.h>
#include <locale.h>
#include <ostream>

namespace loomscope {

namespace {

void usage(std::ostream& err)
{
    err << "usage: loomscope --price-report FOLDER [--start S] [--fee F]\n"
           "                 [--range LOW:HIGH:PRICE]... (up to three) [-o FILE]\n";
}

// LOW:HIGH:PRICE into a range's three fields; false unless there are exactly three parts.
bool splitRange(const std::string& text, PriceRangeFields& range)
{
    const auto a = text.find(':');
    const auto b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos || text.find(':', b + 1) != std::string::npos)
        return false;
    range = {text.substr(0, a), text.substr(a + 1, b - a - 1), text.substr(b + 1)};
    return true;
}

} // namespace

int runPriceReportCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err)
{
    return runPriceReportCommand(args, out, err, environmentDecimalSeparator());
}

int runPriceReportCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err, char decimalSeparator)
{
    PriceFields fields;
    std::size_t ranges = 0;
    std::string folder;
    std::string outputPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--start" || a == "--fee" || a == "--range" || a == "-o";
        if (takesValue && i + 1 >= args.size()) {
            err << "loomscope: " << a << " needs a value\n";
            usage(err);
            return 2;
        }
        if (a == "--start") {
            fields.start = args[++i];
        } else if (a == "--fee") {
            fields.fee = args[++i];
        } else if (a == "--range") {
            if (ranges == fields.ranges.size() || !splitRange(args[++i], fields.ranges[ranges])) {
                err << "loomscope: at most three ranges, each written LOW:HIGH:PRICE\n";
                usage(err);
                return 2;
            }
            ++ranges;
        } else if (a == "-o") {
            outputPath = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            err << "loomscope: unknown option " << a << '\n';
            usage(err);
            return 2;
        } else if (folder.empty()) {
            folder = a;
        } else {
            usage(err);
            return 2;
        }
    }
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
        if (!folder.empty())
            err << "loomscope: " << folder << ": no such folder\n";
        usage(err);
        return 2;
    }
    // The title shows the folder as the browser does: the whole path, ending in '/'.
    std::string shown = std::filesystem::absolute(folder, ec).lexically_normal().string();
    if (shown.empty())
        shown = folder;
    if (shown.back() != '/')
        shown += '/';

    PriceReportInput input;
    input.folder = pathDisplayText(shown);
    const std::vector<DesignEntry> designs = listDesigns(shown);
    input.entries = designs.size();
    long long total = 0;
    int unreadable = 0;
    for (const DesignEntry& entry : designs) {
        Tembs design;
        const std::string path = shown + entry.fileName;
        // Only the stitches count: the side file is not read.
        const DesignLoad load = loadDesign(design, path, {SideFiles::Ignore, {}});
        if (!load.read()) {
            // Named, never billed: a design that cannot be read is not a design of 0 stitches.
            err << "loomscope --price-report: " << pathDisplayText(path) << ": " << load.reason
                << '\n';
            input.rows.push_back({pathDisplayText(listedName(entry)), {}, 0, load.reason});
            ++unreadable;
            continue;
        }
        const Tdstinfo info = design.info();
        input.rows.push_back({pathDisplayText(listedName(entry)),
                              millimetreSizeText(info, decimalSeparator),
                              info.Fstitchcount,
                              {}});
        total += info.Fstitchcount;
    }
    input.totalStitches = std::to_string(total);

    if (!outputPath.empty()) {
        std::vector<std::string> inputs{currentConfigFilePath()};
        std::optional<std::string> same;
        for (const DesignEntry& entry : designs) {
            inputs.push_back(shown + entry.fileName);
            // A report named like the side file of a design that has none would be read as
            // one the next time the design is opened.
            if (!entry.sideFile.empty())
                inputs.push_back(shown + entry.sideFile);
            else if (!same && isSideFileNameOf(outputPath, shown + entry.fileName))
                same = sideFilePath(shown + entry.fileName);
        }
        if (!same)
            same = overwrittenInput(outputPath, inputs);
        if (!same && isDesignOrSideFile(outputPath))
            same = outputPath;
        if (same) {
            err << "loomscope: " << overwriteRefusal(outputPath, *same) << '\n';
            return 2;
        }
    }

    const PriceReport report = buildPriceReport(input, fields, decimalSeparator);
    if (!report.error.empty()) {
        err << report.error << '\n';
        return 2;
    }
    if (outputPath.empty()) {
        out.write(report.text.data(), static_cast<std::streamsize>(report.text.size()));
        out.flush();
        return !out ? 1 : unreadable > 0 ? kSomeDesignsUnreadable : 0;
    }
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(report.text.data()),
                          report.text.size());
    if (const std::string error = writeFileAtomically(outputPath, bytes); !error.empty()) {
        err << "loomscope: " << pathDisplayText(outputPath) << ": cannot be written: " << error
            << '\n';
        return 1;
    }
    return unreadable > 0 ? kSomeDesignsUnreadable : 0;
}

} // namespace loomscope
