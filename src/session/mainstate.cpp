#include "mainstate.h"

#include "model/fileio.h"

namespace loomscope {

namespace {
std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}
} // namespace

MainState::MainState(QObject* parent) : QObject(parent) {}

void MainState::setDesign(const std::string& path)
{
    designPath_ = path;
    fileName_ = fileNamePart(path);
    name_ = withoutExtension(fileName_);
    emit currentDesignChanged();
}

void MainState::openPath(const std::string& path)
{
    std::string folder = folderPart(path);
    if (folder.empty())
        folder = "./";
    if (folder != folder_) {
        folder_ = folder;
        emit currentFolderChanged();
    }
    setDesign(folder_ + fileNamePart(path));
    emit openRequested(designPath_);
    refreshDesigns();
}

void MainState::openEntry(const DesignEntry& entry)
{
    setDesign(folder_ + entry.fileName);
    emit openRequested(designPath_);
}

bool MainState::openPrevious()
{
    const auto entry = previousDesign(designs_, fileName_, name_);
    if (entry)
        openEntry(*entry);
    return entry.has_value();
}

bool MainState::openNext()
{
    const auto entry = nextDesign(designs_, fileName_, name_);
    if (entry)
        openEntry(*entry);
    return entry.has_value();
}

void MainState::changeFolder(const std::string& folder)
{
    if (folder.empty())
        return;
    const std::string f = withSlash(folder);
    if (f != folder_) {
        folder_ = f;
        emit currentFolderChanged();
    }
    refreshDesigns();
}

void MainState::refreshDesigns()
{
    designs_ = listDesigns(folder_);
    emit designsChanged();
}

} // namespace loomscope
