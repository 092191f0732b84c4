#pragma once

#include <QStackedWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

namespace loomscope {

class DesignListModel;

// The browser's design list: one model seen either as large icons (the thumbnails with their
// names below) or as a report of six columns with the thumbnail at the start of each row.
// Both views share one selection, so switching keeps the selected design.
class DesignListView : public QStackedWidget {
    Q_OBJECT
public:
    DesignListView(DesignListModel* model, QWidget* parent = nullptr);

    void showLargeIcons();
    void showReport();
    bool showsReport() const;
    QListView* iconView() const { return icons_; }
    QTreeView* reportView() const { return report_; }
    QAbstractItemView* currentView() const;
    QItemSelectionModel* selection() const { return selection_; }

signals:
    void rowSelected(int row);
    void rowDoubleClicked(int row);
    // The context menu is wanted at this global position.
    void menuRequested(QPoint globalPosition);

private:
    void setUpView(QAbstractItemView* view);

    QListView* icons_;
    QTreeView* report_;
    QItemSelectionModel* selection_;
};

} // namespace loomscope
