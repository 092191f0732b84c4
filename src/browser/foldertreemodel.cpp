#include "foldertreemodel.h"

#include "model/codepage.h"
#include "model/folderlist.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace loomscope {

struct FolderTreeModel::Node {
    std::string name; // bytes; "/" for the root
    Node* parent = nullptr;
    int row = 0;
    bool listed = false;
    std::vector<std::unique_ptr<Node>> children;

    std::string path() const
    {
        if (!parent)
            return "/";
        return parent->path() + name + '/';
    }
};

namespace {

// The folders directly inside `path` (ending in '/'), hidden ones left out, in file manager
// order. A link to a folder counts as a folder, as the file manager shows it.
std::vector<std::string> subfolders(const std::string& path)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::stat((path + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        if (folder)
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), fileManagerLess);
    return names;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject* parent)
    : QAbstractItemModel(parent), root_(std::make_unique<Node>())
{
    root_->name = "/";
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        folderIcon_ = app->style()->standardIcon(QStyle::SP_DirIcon);
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, 0, root_.get()) : QModelIndex();
    const Node* node = nodeOf(parent);
    if (row >= static_cast<int>(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeOf(child);
    if (!node || !node->parent)
        return {};
    return createIndex(node->parent->row, 0, node->parent);
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return 1; // the root folder
    return static_cast<int>(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return true;
    const Node* node = nodeOf(parent);
    // Until it is listed, a folder may hold folders: the view offers to expand it.
    return !node->listed || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    return parent.isValid() && !nodeOf(parent)->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    if (Node* node = nodeOf(parent); node && !node->listed)
        list(*node, parent);
}

void FolderTreeModel::refresh(const QModelIndex& index)
{
    Node* node = nodeOf(index);
    if (!node || !node->listed)
        return;
    const std::vector<std::string> names = subfolders(node->path());
    // Folders that went are removed and new ones put in their places; those that stay keep
    // their entries (and whatever is expanded or selected below them).
    auto& children = node->children;
    for (int i = static_cast<int>(children.size()) - 1; i >= 0; --i) {
        const std::string& name = children[static_cast<std::size_t>(i)]->name;
        if (!std::binary_search(names.begin(), names.end(), name, fileManagerLess)) {
            beginRemoveRows(index, i, i);
            children.erase(children.begin() + i);
            endRemoveRows();
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i < children.size() && children[i]->name == names[i])
            continue;
        beginInsertRows(index, static_cast<int>(i), static_cast<int>(i));
        auto child = std::make_unique<Node>();
        child->name = names[i];
        child->parent = node;
        children.insert(children.begin() + static_cast<std::ptrdiff_t>(i), std::move(child));
        for (std::size_t k = i; k < children.size(); ++k)
            children[k]->row = static_cast<int>(k);
        endInsertRows();
    }
    for (std::size_t k = 0; k < children.size(); ++k)
        children[k]->row = static_cast<int>(k);
    if (children.empty())
        emit dataChanged(index, index); // no longer expandable
}

void FolderTreeModel::list(Node& node, const QModelIndex& index)
{
    node.listed = true;
    const std::vector<std::string> names = subfolders(node.path());
    if (names.empty()) {
        emit dataChanged(index, index); // no longer expandable
        return;
    }
    beginInsertRows(index, 0, static_cast<int>(names.size()) - 1);
    for (const std::string& name : names) {
        auto child = std::make_unique<Node>();
        child->name = name;
        child->parent = &node;
        child->row = static_cast<int>(node.children.size());
        node.children.push_back(std::move(child));
    }
    endInsertRows();
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeOf(index);
    if (!node)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(pathDisplayText(node->name));
    if (role == Qt::ToolTipRole)
        return QString::fromStdString(pathDisplayText(node->path()));
    if (role == Qt::DecorationRole)
        return folderIcon_;
    return {};
}

std::string FolderTreeModel::pathOf(const QModelIndex& index) const
{
    const Node* node = nodeOf(index);
    return node ? node->path() : std::string();
}

QModelIndex FolderTreeModel::indexOf(const std::string& folder)
{
    if (folder.empty() || folder[0] != '/')
        return {};
    QModelIndex at = index(0, 0);
    std::size_t start = 1;
    while (start < folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        const std::string name = folder.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == ".")
            continue;
        Node* node = nodeOf(at);
        if (!node->listed)
            list(*node, at);
        auto named = [&](const std::unique_ptr<Node>& c) { return c->name == name; };
        auto found = std::find_if(node->children.begin(), node->children.end(), named);
        if (found == node->children.end()) {
            refresh(at); // made since the folder was listed?
            found = std::find_if(node->children.begin(), node->children.end(), named);
        }
        if (found == node->children.end())
            return {};
        at = index((*found)->row, 0, at);
    }
    return at;
}

} // namespace loomscope
