#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace loomscope {

// What the browser asks of the desktop: show a file in the file manager, open a file in its
// default program, start a program. Paths are the bytes the file system holds. Tests put a
// recording implementation in its place.
class DesktopActions {
public:
    virtual ~DesktopActions() = default;
    // A file manager window with the file selected, or at least its folder.
    virtual void showInFileManager(const std::string& path) = 0;
    // The file in the user's default program for its type: "" once asked, else why not.
    virtual std::string openFile(const std::string& path) = 0;
    // The program started on its own (not as a child of this one), with no working folder:
    // "" once it runs, else why not.
    virtual std::string startProgram(const std::string& program,
                                     const std::vector<std::string>& arguments) = 0;
};

// The freedesktop way: the file manager's D-Bus interface (org.freedesktop.FileManager1),
// falling back to opening the folder when no file manager answers; xdg-open for opening files;
// programs through the program's one launcher.
class SystemDesktop : public QObject, public DesktopActions {
    Q_OBJECT
public:
    explicit SystemDesktop(QObject* parent = nullptr);
    void showInFileManager(const std::string& path) override;
    std::string openFile(const std::string& path) override;
    std::string startProgram(const std::string& program,
                             const std::vector<std::string>& arguments) override;
};

// A file URL made from the path's bytes, so a name that is not valid text still names the
// right file.
QString fileUrlOf(const std::string& path);

} // namespace loomscope
