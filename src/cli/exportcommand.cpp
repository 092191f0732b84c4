#include "exportcommand.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "config/configvalues.h"
#include "config/mainconfig.h"
#include "config/programhome.h"
#include "drawing/pictureconvert.h"
#include "model/codepage.h"
#include "model/colorsequencefile.h"
#include "model/colortable.h"
#include "model/fileio.h"
#include "model/outputguard.h"
#include "model/tembs.h"
#include "render/exportjob.h"
#include "session/pathstrings.h"
#include "tooldesign.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <ostream>

namespace loomscope {

namespace {

struct Options {
    std::string design;
    std::string output;
    std::optional<TColor> background;
    std::optional<TColor> sequin;
    std::string fabric;
    std::optional<TColor> fabricColour;
};

constexpr const char* kUsage =
    "usage: loomscope --export PATH OUT.jpg [--background #RRGGBB] [--sequin-color #RRGGBB]"
    " [--fabric NAME [--fabric-color #RRGGBB]]";

// Parses the arguments after "--export"; an empty string when they make sense.
std::string parse(const std::vector<std::string>& args, Options& o)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            positional.push_back(a);
            continue;
        }
        if (i + 1 >= args.size())
            return a + " needs a value";
        const std::string& value = args[++i];
        auto colour = [&](std::optional<TColor>& into) {
            into = colorFromHtml(value);
            return into ? std::string() : a + ": '" + value + "' is not a colour like #FF8000";
        };
        std::string problem;
        if (a == "--background")
            problem = colour(o.background);
        else if (a == "--sequin-color")
            problem = colour(o.sequin);
        else if (a == "--fabric-color")
            problem = colour(o.fabricColour);
        else if (a == "--fabric")
            o.fabric = value;
        else
            problem = "unknown option " + a;
        if (!problem.empty())
            return problem;
    }
    if (o.fabricColour && o.fabric.empty())
        return "--fabric-color tints a fabric: give the fabric with --fabric NAME";
    if (positional.size() != 2)
        return "a design and a picture file are needed";
    o.design = positional[0];
    o.output = positional[1];
    return {};
}

// The fabric names of a program home, for telling the user which ones there are.
std::string fabricNames(const QString& folder)
{
    QStringList names;
    for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.bmp")}, QDir::Files,
                                                         QDir::Name | QDir::IgnoreCase))
        names << f.completeBaseName();
    return names.isEmpty() ? std::string("none") : names.join(QStringLiteral(", ")).toStdString();
}

} // namespace

int runExportCommand(const std::vector<std::string>& arguments, const QString& programHome,
                     char decimalSeparator, std::ostream& out, std::ostream& err)
{
    Options o;
    if (const std::string problem = parse(arguments, o); !problem.empty()) {
        err << "loomscope --export: " << problem << '\n' << kUsage << '\n';
        return 2;
    }
    const std::string& design = o.design;
    const ToolInputs inputs = designInputs(design, {configFilePath(pathBytes(programHome))});
    if (const auto input = overwrittenInput(o.output, inputs)) {
        err << "loomscope --export: " << overwriteRefusal(o.output, *input) << '\n';
        return 2;
    }

    // What the viewer would take from config.ini.
    const ConfigStore settings(configFilePath(pathBytes(programHome)));
    const std::string& iniPath = settings.path();
    if (!settings.readError().empty()) {
        err << "loomscope --export: " << iniPath << ": " << settings.readError() << '\n';
        return 1;
    }
    const IniFile& ini = settings.ini();
    const MainConfig config = readMainConfig(ini, decimalSeparator);
    if (!config.error.empty()) {
        err << "loomscope --export: " << iniPath << ": " << config.error << '\n';
        return 1;
    }

    // The view's thread colours: the design's with its side file applied.
    Tembs shown;
    const DesignLoadOptions options{SideFiles::Given, inputs.sideFile};
    if (!openDesignForTool(shown, design, options, "loomscope --export", err).read())
        return 2;

    ExportJob job;
    job.designPath = design;
    job.outputPath = o.output;
    job.decimalSeparator = decimalSeparator;
    job.look.backcolor = o.background.value_or(config.backcolor.value_or(kDefaultBackcolor));
    job.look.sequincolor = o.sequin.value_or(config.sequincolor.value_or(0));
    job.look.colours = colorTableFromBlocks(shown);
    const CompanyInfo shop = readcompanyinfo(settings).info;
    job.credits = pictureCredits(shop.comname, shop.tel, shop.website);
    if (!o.fabric.empty()) {
        const QString folder = programHome + QStringLiteral("Fabrics/");
        const QString picturePath =
            folder + QString::fromStdString(o.fabric) + QStringLiteral(".bmp");
        if (!QFileInfo(picturePath).isFile()) {
            err << "loomscope --export: there is no fabric '" << o.fabric << "' in "
                << folder.toStdString() << " (the fabrics there: " << fabricNames(folder) << ")\n";
            return 2;
        }
        const QImage picture(picturePath);
        if (picture.isNull() || picture.width() < 128 || picture.height() < 128) {
            err << "loomscope --export: fabric '" << o.fabric << "': " << picturePath.toStdString()
                << " is not a picture of at least 128 x 128 pixels\n";
            return 2;
        }
        std::optional<TColor> tint = o.fabricColour;
        if (!tint)
            if (auto v = ini.value("general", "fabriccolor"); v && !v->empty()) {
                const auto parsed = parseColourValue(*v);
                if (!parsed.value) {
                    err << "loomscope --export: " << iniPath << ": " << parsed.error << '\n';
                    return 1;
                }
                tint = parsed.value;
            }
        job.look.fabric = true;
        job.look.fabricTint = tint.value_or(0xFFFFFF);
        job.look.fabricPicture = toRgbPicture(picture);
    }

    const ExportResult result = exportPicture(job);
    if (!result.ok) {
        err << "loomscope --export: " << result.error.toStdString() << '\n';
        return 1;
    }
    out << o.output << ": " << result.size.width() << " x " << result.size.height() << " pixels, "
        << result.dotsPerInch << " dots per inch\n";
    return 0;
}

} // namespace loomscope
