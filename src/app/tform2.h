#pragma once

#include "folderlist.h"
#include "keyboardmap.h"
#include "model/geometry.h"
#include "toolicons.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace loomscope {

class TForm5;
class Tloomscope;
class UserMessages;

// The main window: the design view above a tool strip. It keeps the current folder, the
// current design name and the folder's list of design names; every route to a design (the
// open dialog, the command line, a second start, a drop, previous and next) ends in
// openDesign. Its keys are looked at before the focused control sees them.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    // `programHome` holds config.ini; `messages` shows errors and notices.
    TForm2(const QString& programHome, UserMessages& messages, QWidget* parent = nullptr);
    ~TForm2() override;

    // Current folder and name from the path, open it fitted, rebuild the folder list.
    void openFromPath(const QString& path);
    // A path handed over by a second start (empty: just come to the front).
    void receiveHandOff(const QString& path);
    // Caption, view, summary: the one open operation.
    void openDesign(const QString& path, bool fit);
    // The folder's design names in the order the folder lists them, their count in Edit2.
    void fillFolderList(const QString& folder, bool thumbnails);
    void previousFile();
    void nextFile();
    void bringToFront();
    // Makes the high-resolution picture of the shown design at `path`, with a wait cursor and
    // a busy indicator meanwhile; a failure is shown to the user. True when it was written.
    bool savePictureTo(const QString& path);

    Tloomscope* viewer() const { return loomscope1; }
    bool browserVisible() const;
    const QString& currentFolder() const { return currentFolder_; }
    const QString& currentDesignName() const { return currentName_; }
    const std::vector<DesignEntry>& folderDesigns() const { return designs_; }
    TRectF gunrect() const { return gunrect_; }
    const QString& editorPath() const { return editorPath_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QToolButton* addTool(const char* name, ToolIcon icon, const QString& hint,
                         void (TForm2::*slot)());
    void buildBrowserPane();
    void layoutClient();
    void readConfiguration();
    bool handleKey(class QKeyEvent* event);
    void run(MainAction action);

    // Tool strip commands.
    void openCommand();
    void savePictureCommand();
    void enlarge();
    void reduce();
    void actualSize();
    void fitToView();
    void measure();
    void showThreadLook();
    void showLines();
    void toggleShowType();
    void togglePoints();
    void toggleMachineCodes();
    void firstColour();
    void priorColour();
    void nextColour();
    void endColour();
    void copyViewToClipboard();
    void openWebPage();
    void showAbout();
    void unavailable() {}

    void viewerPressed(QPoint position);
    void viewerReleased(QPoint position);
    void viewerWheel(QPoint position, int delta, bool* handled);

    QString programHome_;
    UserMessages& messages_;
    Tloomscope* loomscope1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* ToolBar1 = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* RzGridPanel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QListWidget* ListView1 = nullptr;
    TForm5* Form5 = nullptr;
    std::map<std::string, QToolButton*> buttons_;

    QString currentFolder_; // ends in '/'
    QString currentName_;
    QString currentFile_; // the design's file name as on disk
    std::vector<DesignEntry> designs_;
    TRectF gunrect_;
    QPoint pos1;      // where a pan began
    bool boo = false; // a pan is under way
    QString editorPath_;
};

} // namespace loomscope
