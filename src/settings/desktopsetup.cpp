#include "desktopsetup.h"

#include "config/programhome.h"
#include "desktopfiles.h"
#include "session/pathstrings.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <algorithm>

namespace loomscope {

QString desktopProgramFile()
{
    // The program `loomscope` that was started (the GUI program is started by it), not the GUI
    // program itself: the desktop must start the front, which finds the rest.
    return QString::fromStdString(desktopProgramPath(
        startedProgramFolder(pathBytes(QCoreApplication::applicationDirPath()))));
}

std::vector<IconFile> builtInDesktopIcons()
{
    std::vector<IconFile> icons;
    const QString root = QStringLiteral(":/icons/hicolor/");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        icons.push_back({path.mid(root.size()).toStdString(),
                         std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    }
    // The resource order is not promised; the files written should not depend on it.
    std::sort(icons.begin(), icons.end(),
              [](const IconFile& a, const IconFile& b) { return a.relativePath < b.relativePath; });
    return icons;
}

QIcon applicationWindowIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/loomscope.png").arg(size),
                     QSize(size, size));
    return icon;
}

IntegrationSetup desktopIntegrationSetup(const QString& programHome, const QString& program)
{
    IntegrationSetup setup;
    setup.environment = desktopEnvironmentFromProcess();
    setup.programPath = pathBytes(program);
    setup.programHome = pathBytes(programHome);
    setup.icons = builtInDesktopIcons();
    return setup;
}

} // namespace loomscope
