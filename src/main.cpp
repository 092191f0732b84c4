// LoomScope: a viewer for machine-embroidery designs in the DST format.
//
//   loomscope [PATH]           the viewer (one instance per user)
//   loomscope --info PATH      the design's facts as JSON, no display needed
//   loomscope --export PATH OUT.jpg [options]   the high-resolution picture, no display needed
//   loomscope --thumbnail [-s SIZE] PATH OUT.png  the file manager's thumbnail
//   loomscope --price-report FOLDER [options]    the price report of a folder
//
// Options starting with "--" are tools for scripts: they need no display and never touch a
// running viewer.

#include "app/exportcommand.h"
#include "app/infocommand.h"
#include "app/programhome.h"
#include "app/projectinfo.h"
#include "app/singleinstance.h"
#include "app/tform2.h"
#include "app/usermessages.h"
#include "browser/pricereportcommand.h"
#include "browser/thumbnailcommand.h"
#include "model/fileio.h"
#include "viewer/glformat.h"
#include "viewer/programfonts.h"
#include "viewer/tloomscope.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <iostream>
#include <string>

namespace {

void printUsage(std::ostream& out)
{
    out << "usage: loomscope [PATH]\n"
           "       loomscope --info PATH\n"
           "       loomscope --export PATH OUT.jpg [--background #RRGGBB] [--sequin-color "
           "#RRGGBB]\n"
           "                 [--fabric NAME] [--fabric-color #RRGGBB]\n"
           "       loomscope --thumbnail [-s SIZE] PATH OUT.png\n"
           "       loomscope --price-report FOLDER [--start S] [--fee F]\n"
           "                 [--range LOW:HIGH:PRICE]... [-o FILE]\n";
}

QString programHomeFolder();

int runExport(int argc, char* argv[])
{
    // Pictures are drawn without a window: the offscreen platform gives fonts and images and
    // needs no display; the drawing itself uses an EGL context of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    loomscope::loadProgramFonts();
    QStringList arguments = QGuiApplication::arguments().mid(2);
    return loomscope::runExportCommand(arguments, programHomeFolder(), std::cout, std::cerr);
}

int runTool(int argc, char* argv[])
{
    const std::string option = argv[1];
    if (option == "--info" && argc == 3)
        return loomscope::runInfoCommand(argv[2], std::cout, std::cerr);
    if (option == "--export")
        return runExport(argc, argv);
    if (option == "--thumbnail")
        return loomscope::runThumbnailCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    if (option == "--price-report")
        return loomscope::runPriceReportCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    if (option == "--help") {
        printUsage(std::cout);
        return 0;
    }
    printUsage(std::cerr);
    return 2;
}

QString programHomeFolder()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QString shipped = QDir(exeFolder + QStringLiteral("/../share/loomscope")).absolutePath();
    const auto home = loomscope::resolveProgramHome(
        loomscope::currentProgramHomeInputs(exeFolder.toStdString(), shipped.toStdString()));
    if (!home.error.empty())
        std::cerr << "loomscope: " << home.folder << ": " << home.error << '\n';
    return QString::fromStdString(home.folder);
}

int runViewer(int argc, char* argv[])
{
    loomscope::setDefaultGlFormat();
    QApplication app(argc, argv);
    // No display name: Qt would append it to every title, and the title is what a second
    // start compares its path with.
    QApplication::setApplicationName(QStringLiteral("LoomScope"));

    // Only the first argument is used; the running viewer gets it as an absolute path.
    const QString path =
        argc >= 2 ? QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath() : QString();
    loomscope::SingleInstance instance;
    if (instance.handOffToRunning(path))
        return 0;
    QString error;
    if (!instance.listen(&error)) {
        // Another start may have won the race to listen: hand over to it instead.
        if (instance.handOffToRunning(path))
            return 0;
        std::cerr << "loomscope: cannot watch for later starts: " << error.toStdString() << '\n';
    }

    loomscope::loadProgramFonts();
    loomscope::MessageBoxes messages;
    loomscope::TForm2 window(programHomeFolder(), messages);
    QObject::connect(&instance, &loomscope::SingleInstance::handOff, &window,
                     &loomscope::TForm2::receiveHandOff);
    // LOOMSCOPE_TIMING=1: every frame that shows a design is reported with the wall-clock time
    // in milliseconds, for measuring start-up and hand-off times from outside.
    if (qEnvironmentVariableIsSet("LOOMSCOPE_TIMING"))
        QObject::connect(window.viewer(), &QOpenGLWidget::frameSwapped, &window, [&window] {
            if (!window.currentDesignName().isEmpty())
                std::cerr << "loomscope: frame " << QDateTime::currentMSecsSinceEpoch() << ' '
                          << window.windowTitle().toStdString() << std::endl;
        });
    window.show();
    if (!path.isEmpty() && loomscope::fileExists(path.toStdString()))
        window.openFromPath(path);
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0)
        return runTool(argc, argv);
    return runViewer(argc, argv);
}
