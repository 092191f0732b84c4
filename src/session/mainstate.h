#pragma once

#include "model/folderlist.h"

#include <QObject>
#include <string>
#include <vector>

namespace loomscope {

// Where the user is: the current folder, the current design and the folder's designs. Every
// route to a design (the open dialog, the command line, a second start, a drop, previous and
// next, the browser) goes through this object, and every window that acts on the current
// design (browser, price report, colour panel, stitch-out, print window, editor command) reads
// it here and follows its signals instead of keeping a copy.
//
// Paths are the bytes the file system holds (see pathstrings.h): a design named in code page
// 936 or spelt "ROSE.DST" opens as it is.
class MainState : public QObject {
    Q_OBJECT
public:
    explicit MainState(QObject* parent = nullptr);

    // The folder being browsed, ending in '/'; empty before the first design or folder.
    const std::string& currentFolder() const { return folder_; }
    // The current design's file name as on disk ("ROSE.DST") and without its last extension
    // ("ROSE"); empty before the first design.
    const std::string& currentFileName() const { return fileName_; }
    const std::string& currentDesignName() const { return name_; }
    // The path of the design last opened; empty before the first design. The browser may have
    // moved the current folder on since: this still names the design that is shown.
    const std::string& currentDesignPath() const { return designPath_; }
    bool hasDesign() const { return !fileName_.empty(); }
    // The folder's designs in file manager order, as the last listing found them.
    const std::vector<DesignEntry>& designs() const { return designs_; }

    // A design named by a path (open dialog, command line, second start, drop): its folder
    // becomes the current folder, the design is opened, then the folder is listed again.
    void openPath(const std::string& path);
    // A design of the current folder's list (previous and next, a row of the browser): it is
    // opened; the list stays as it is.
    void openEntry(const DesignEntry& entry);
    // The previous or next design of the list; false (nothing happens) at either end.
    bool openPrevious();
    bool openNext();
    // A folder chosen in the browser: it becomes the current folder and is listed.
    void changeFolder(const std::string& folder);
    // Lists the current folder again.
    void refreshDesigns();

signals:
    // The open operation is asked for: the main window loads `path` into the view. The current
    // design is already set when this arrives.
    void openRequested(const std::string& path);
    void currentFolderChanged();
    void currentDesignChanged();
    // The folder's list was made again (also when it came out the same).
    void designsChanged();

private:
    void setDesign(const std::string& path);

    std::string folder_;
    std::string designPath_;
    std::string fileName_;
    std::string name_;
    std::vector<DesignEntry> designs_;
};

} // namespace loomscope
