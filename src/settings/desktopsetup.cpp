#include "desktopsetup.h"

#include "app/pathstrings.h"
#include "desktopfiles.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>

namespace loomscope {

QString desktopProgramFile()
{
    return QString::fromStdString(
        desktopProgramPath(pathBytes(QCoreApplication::applicationDirPath())));
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

IntegrationSetup desktopIntegrationSetup(const QString& programHome)
{
    IntegrationSetup setup;
    setup.environment = desktopEnvironmentFromProcess();
    setup.programPath = pathBytes(desktopProgramFile());
    setup.programHome = pathBytes(programHome);
    setup.icons = builtInDesktopIcons();
    return setup;
}

} // namespace loomscope
