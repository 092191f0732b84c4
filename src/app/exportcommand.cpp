#include "exportcommand.h"

#include "configvalues.h"
#include "inifile.h"
#include "mainconfig.h"
#include "model/colorsequencefile.h"
#include "model/colortable.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "render/exportjob.h"
#include "viewer/pictureconvert.h"

#include <QImage>
#include <ostream>

namespace loomscope {

namespace {

struct Options {
    QString design;
    QString output;
    std::optional<TColor> background;
    std::optional<TColor> sequin;
    QString fabric;
    std::optional<TColor> fabricColour;
};

// Parses the arguments after "--export"; an empty string when they make sense.
QString parse(const QStringList& args, Options& o)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(a);
        const QString value = args[++i];
        auto colour = [&](std::optional<TColor>& into) {
            into = colorFromHtml(value.toStdString());
            return into ? QString()
                        : QStringLiteral("%1: '%2' is not a colour like #FF8000").arg(a, value);
        };
        QString problem;
        if (a == QLatin1String("--background"))
            problem = colour(o.background);
        else if (a == QLatin1String("--sequin-color"))
            problem = colour(o.sequin);
        else if (a == QLatin1String("--fabric-color"))
            problem = colour(o.fabricColour);
        else if (a == QLatin1String("--fabric"))
            o.fabric = value;
        else
            problem = QStringLiteral("unknown option %1").arg(a);
        if (!problem.isEmpty())
            return problem;
    }
    if (positional.size() != 2)
        return QStringLiteral("a design and a picture file are needed");
    o.design = positional[0];
    o.output = positional[1];
    return {};
}

} // namespace

int runExportCommand(const QStringList& arguments, const QString& programHome, std::ostream& out,
                     std::ostream& err)
{
    Options o;
    if (const QString problem = parse(arguments, o); !problem.isEmpty()) {
        err << "loomscope --export: " << problem.toStdString()
            << "\nusage: loomscope --export PATH OUT.jpg [--background #RRGGBB] [--sequin-color "
               "#RRGGBB]"
               " [--fabric NAME] [--fabric-color #RRGGBB]\n";
        return 2;
    }
    const std::string design = o.design.toStdString();
    if (!fileExists(design) || !hasDstExtension(design)) {
        err << "loomscope --export: " << design << ": no such DST design\n";
        return 2;
    }

    // What the viewer would take from config.ini.
    IniFile ini;
    std::string iniError;
    const std::string iniPath = (programHome + QStringLiteral("config.ini")).toStdString();
    if (!ini.load(iniPath, &iniError)) {
        err << "loomscope --export: " << iniPath << ": " << iniError << '\n';
        return 1;
    }
    const MainConfig config = readMainConfig(ini);
    if (!config.error.empty()) {
        err << "loomscope --export: " << iniPath << ": " << config.error << '\n';
        return 1;
    }

    // The view's thread colours: the design's with its side file applied.
    Tembs shown;
    if (shown.loadfromfile(design) != DstReadStatus::Read) {
        err << "loomscope --export: " << design << ": not a readable DST design\n";
        return 2;
    }
    if (const auto side = findSideFile(design)) {
        const ColorFileResult result = shown.loadcolorfile(*side);
        if (result.failed()) {
            err << "loomscope --export: " << *side << ": " << result.message << '\n';
            return 1;
        }
    }

    ExportJob job;
    job.designPath = design;
    job.outputPath = o.output;
    job.backcolor = o.background.value_or(config.backcolor.value_or(0xEEEEEE));
    job.sequincolor = o.sequin.value_or(config.sequincolor.value_or(0));
    job.colours = colorTableFromBlocks(shown);
    if (!o.fabric.isEmpty()) {
        const QString picturePath =
            programHome + QStringLiteral("Fabrics/") + o.fabric + QStringLiteral(".bmp");
        const QImage picture(picturePath);
        if (picture.isNull() || picture.width() < 128 || picture.height() < 128) {
            err << "loomscope --export: fabric '" << o.fabric.toStdString()
                << "': " << picturePath.toStdString()
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
        job.fabric = true;
        job.fabricTint = tint.value_or(0xFFFFFF);
        job.fabricPicture = toRgbPicture(picture);
    }

    const ExportResult result = exportPicture(job);
    if (!result.ok) {
        err << "loomscope --export: " << result.error.toStdString() << '\n';
        return 1;
    }
    out << o.output.toStdString() << ": " << result.size.width() << " x " << result.size.height()
        << " pixels, " << result.dotsPerInch << " dots per inch\n";
    return 0;
}

} // namespace loomscope
