#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <memory>
#include <string>
#include <vector>

namespace loomscope {

// The folders of the file system as a tree, from "/". Each folder is kept by the bytes of its
// name, so a folder unpacked from a Chinese Windows archive (a name in code page 936, which
// is not valid text) is listed, shown decoded and opened like any other; Qt's own file system
// model leaves such folders out. Folders are listed when first expanded, each listing once,
// in the order a file manager shows them; hidden folders are left out.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject* parent = nullptr);
    ~FolderTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The folder's path as the file system holds it, ending in '/'; empty for no index.
    std::string pathOf(const QModelIndex& index) const;
    // The entry of a folder (ending in '/' or not), listing the folders on the way (again where
    // a name is not found: it may have been made since); an invalid index when it is not there
    // or hidden.
    QModelIndex indexOf(const std::string& folder);
    // Lists the folder again: folders made or removed since appear or go. The view calls it
    // whenever a folder is opened.
    void refresh(const QModelIndex& index);

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    void list(Node& node, const QModelIndex& index);

    std::unique_ptr<Node> root_;
    QIcon folderIcon_;
};

} // namespace loomscope
