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

std::string MainState::currentDesignPath() const
{
    return fileName_.empty() ? std::string() : folder_ + fileName_;
}

void MainState::setCurrent(const std::string& folder, const std::string& fileName)
{
    const bool folderChanged = folder != folder_;
    folder_ = folder;
    fileName_ = fileName;
    name_ = withoutExtension(fileName);
    if (folderChanged)
        emit currentFolderChanged();
    emit currentDesignChanged();
}

void MainState::openPath(const std::string& path)
{
    const std::string folder = folderPart(path);
    setCurrent(folder.empty() ? std::string("./") : folder, fileNamePart(path));
    emit openRequested(currentDesignPath());
    refreshDesigns();
}

void MainState::openEntry(const DesignEntry& entry)
{
    setCurrent(folder_, entry.fileName);
    emit openRequested(currentDesignPath());
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
