// loomscope-gui: the part of LoomScope that needs Qt — the viewer, and the tools that draw
// pictures (--export). The program `loomscope` starts it; it is not meant to be started by
// hand, but it works the same when it is.

#include "app/singleinstance.h"
#include "app/tform2.h"
#include "cli/exportcommand.h"
#include "cli/worksheetcommand.h"
#include "config/programhome.h"
#include "drawing/glformat.h"
#include "drawing/programfonts.h"
#include "model/fileio.h"
#include "session/interfacetranslation.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "settings/desktopsetup.h"
#include "viewer/tloomscope.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Where `loomscope` itself is: the program home and the shipped data are found from there.
QString programFolder()
{
    return QFile::decodeName(loomscope::startedProgramFolder(
                                 loomscope::pathBytes(QCoreApplication::applicationDirPath()))
                                 .c_str());
}

QString programHomeFolder()
{
    const QString exeFolder = programFolder();
    // The shipped fabrics and charts: an installation's shared data, or the build tree itself.
    const QString installed =
        QDir(exeFolder + QStringLiteral("/../share/loomscope")).absolutePath();
    const QString shipped = QFileInfo(installed).isDir() ? installed : exeFolder;
    const auto home = loomscope::resolveProgramHome(
        loomscope::currentProgramHomeInputs(exeFolder.toStdString(), shipped.toStdString()));
    if (!home.error.empty())
        std::cerr << "loomscope: " << home.folder << ": " << home.error << '\n';
    return QFile::decodeName(home.folder.c_str());
}

int runExport(int argc, char* argv[])
{
    // Pictures are drawn without a window: the offscreen platform gives fonts and images and
    // needs no display; the drawing itself uses an EGL context of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    loomscope::loadProgramFonts();
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    return loomscope::runExportCommand(arguments, programHomeFolder(),
                                       loomscope::localeDecimalSeparator(), std::cout, std::cerr);
}

int runWorksheet(int argc, char* argv[])
{
    // The page is drawn with QPainter into a PDF: fonts and no display, as for --export.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    loomscope::loadProgramFonts();
    const QString home = programHomeFolder();
    // The page reads as the print window would show it.
    loomscope::installInterfaceLanguage(home);
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    return loomscope::runWorksheetCommand(arguments, home, std::cout, std::cerr);
}

int runViewer(int argc, char* argv[])
{
    loomscope::setDefaultGlFormat();
    QApplication app(argc, argv);
    // No display name: Qt would append it to every title.
    QApplication::setApplicationName(QStringLiteral("LoomScope"));
    QApplication::setWindowIcon(loomscope::applicationWindowIcon());
    // The desktop entry the windows belong to (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("loomscope"));

    // Only the first argument is used, as the bytes it came in: a name from a Chinese Windows
    // archive is not UTF-8 and must reach the file system unchanged.
    const std::string path = argc >= 2 ? loomscope::absolutePath(argv[1]) : std::string();
    loomscope::SingleInstance instance;
    // A path that names nothing only brings the running window to the front, and says so.
    const bool missing = !path.empty() && !loomscope::fileExists(path);
    if (instance.handOffToRunning(missing ? QByteArray() : QByteArray::fromStdString(path))) {
        if (!missing)
            return 0;
        std::cerr << "loomscope: " << loomscope::pathDisplayText(path) << ": no such design file\n";
        return 2;
    }
    QString error;
    if (!instance.listen(&error)) {
        // Another start may have won the race to listen: hand over to it instead.
        if (instance.handOffToRunning(QByteArray::fromStdString(path)))
            return 0;
        std::cerr << "loomscope: later starts will open windows of their own: "
                  << error.toStdString() << '\n';
    }

    loomscope::loadProgramFonts();
    const QString home = programHomeFolder();
    loomscope::installInterfaceLanguage(home);
    loomscope::MessageBoxes messages;
    loomscope::TForm2 window(home, messages);
    QObject::connect(&instance, &loomscope::SingleInstance::handOff, &window,
                     [&window](const QByteArray& p) { window.receiveHandOff(p.toStdString()); });
    // LOOMSCOPE_TIMING=1: every frame that shows a design is reported with the wall-clock time
    // in milliseconds, for measuring start-up and hand-off times from outside.
    if (qEnvironmentVariableIsSet("LOOMSCOPE_TIMING"))
        QObject::connect(window.viewer(), &QOpenGLWidget::frameSwapped, &window, [&window] {
            if (window.state().hasDesign())
                std::cerr << "loomscope: frame " << QDateTime::currentMSecsSinceEpoch() << ' '
                          << window.windowTitle().toStdString() << std::endl;
        });
    window.show();
    if (!path.empty()) {
        if (loomscope::fileExists(path))
            window.openFromPath(path);
        else
            messages.error(&window, QCoreApplication::translate(
                                        "main", "\"%1\" does not exist or is not a file.")
                                        .arg(loomscope::displayPath(path)));
    }
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::strcmp(argv[1], "--export") == 0)
        return runExport(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--worksheet") == 0)
        return runWorksheet(argc, argv);
    return runViewer(argc, argv);
}
