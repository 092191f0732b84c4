#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeView;

namespace loomscope {

class FolderTreeModel;

class DesignListModel;
class DesignListView;
class DesktopActions;
class MainState;
class PriceOptionsGroup;
class SystemDesktop;
class ThumbnailFiller;
class UserMessages;

// The browser (`RzGridPanel1`): the folder tree, the current folder's designs with their
// thumbnails as large icons or as a report, a preview host for the main window's viewer, the
// design summary, and the price options with their report.
//
// It follows MainState: every new listing of the folder clears the list and shows the count;
// while the pane is shown the rows are then made again with their thumbnails, on worker
// threads, appearing in list order with "n / N" in the tool strip. Choosing a folder in the tree
// changes the state's folder; selecting a row opens that design through the state.
class BrowserPane : public QWidget {
    Q_OBJECT
public:
    // `programHome` (ending in '/') holds the report file and the design-search program.
    BrowserPane(MainState& state, const QString& programHome, UserMessages& messages,
                QWidget* parent = nullptr);
    ~BrowserPane() override;

    // `Panel4`: the main window puts its viewer in here (it has a layout with no margins).
    QWidget* previewHost() const;
    // Called once the pane is shown: the tree selects the current folder, and the folder is
    // listed again with thumbnails.
    void enter();
    // The six summary lines (separated by CR or LF) of the design last opened.
    void setSummary(const QString& text);

    // Whether thumbnails are still being made.
    bool isFilling() const;
    DesignListModel* designModel() const { return model_; }
    // Where locate, the report and the design search go; the desktop's own unless set.
    void setDesktopActions(DesktopActions* desktop);

signals:
    void closeRequested();  // "关闭": leave the browser with the design at actual size
    void designActivated(); // a row double-clicked: leave the browser with the design fitted

private:
    void buildToolStrip(QWidget* strip);
    QWidget* buildLeftColumn();
    void folderChosen(const QModelIndex& index);
    void selectFolderInTree(const std::string& folder);
    void designsChanged();
    void startFilling();
    void rowsArrived(int done, int total);
    void fillingFinished(qint64 stitches);
    void rowSelected(int row);
    void showContextMenu(QPoint globalPosition);
    void locateFile();
    void startDesignSearch();
    void saveReport();

    MainState& state_;
    QString programHome_;
    UserMessages& messages_;
    std::unique_ptr<SystemDesktop> systemDesktop_;
    DesktopActions* desktop_;
    DesignListModel* model_;
    ThumbnailFiller* filler_;
    FolderTreeModel* folders_;
    bool entering_ = false;
    bool choosingInCode_ = false; // the tree's selection is being set, not chosen by the user

    QLabel* Label7 = nullptr;
    QTreeView* RzShellTree1 = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* fillProgress = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    PriceOptionsGroup* GroupBox1 = nullptr;
    DesignListView* ListView1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
};

} // namespace loomscope
