#include "pathstrings.h"

#include "model/fileio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace loomscope {

std::string existingPathBytes(const QString& path)
{
    const std::string bytes = pathBytes(path);
    if (fileExists(bytes))
        return bytes;
    const QFileInfo info(path);
    const std::string folder = pathBytes(info.absolutePath()) + '/';
    const QString wanted = info.fileName();
    std::string found;
    int matches = 0;
    for (const std::string& entry : folderEntries(folder))
        if (QFile::decodeName(entry.c_str()) == wanted) {
            found = entry;
            ++matches;
        }
    if (matches != 1 || !fileExists(folder + found))
        return {};
    return folder + found;
}

QString designOpenFilters()
{
    const char* const formats[] = {"dst", "pes", "pec", "jef", "exp", "vp3", "xxx"};
    QStringList all;
    QStringList each;
    for (const char* format : formats) {
        QString glob = QStringLiteral("*.");
        for (const QChar c : QString::fromLatin1(format))
            glob += c.isLetter() ? QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper()) : c;
        all << glob;
        each << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(format).toUpper(), glob);
    }
    return QCoreApplication::translate("loomscope::TForm2", "所有版带") +
           QStringLiteral(" (%1);;").arg(all.join(QLatin1Char(' '))) +
           each.join(QStringLiteral(";;"));
}

} // namespace loomscope
