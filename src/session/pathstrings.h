#pragma once

// Paths between the file system and the windows. A path is kept as the bytes the file system
// holds (std::string): names unpacked from Chinese Windows archives are not UTF-8, and a QString
// cannot hold them without loss. Only for showing is a path turned into a QString.

#include "model/codepage.h"

#include <QFile>
#include <QString>
#include <string>

namespace loomscope {

// The path as the user should read it (code page 936 names decoded, see pathDisplayText).
inline QString displayPath(const std::string& bytes)
{
    return QString::fromStdString(pathDisplayText(bytes));
}

// The bytes of a path that came from Qt (a file dialog, a typed name). Such a path can only
// name a file whose name is valid text.
inline std::string pathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The file a path from a Qt dialog stands for. Qt shows a name that is not valid text with
// replacement marks, and that name opens nothing; when exactly one file of the folder shows
// the same way, it is the one the user picked. Empty when no file is found.
std::string existingPathBytes(const QString& path);

// The open dialog's filters: every design the program reads, then each format alone, each
// matching its extension in any letter case ("ROSE.DST" from Windows as "rose.dst").
QString designOpenFilters();

} // namespace loomscope
