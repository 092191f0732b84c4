#pragma once

#include "config/configstore.h"
#include "model/geometry.h"
#include "session/mainstate.h"
#include "wheelsteps.h"
#include "windowplacement.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>
#include <string>

namespace loomscope {

class BrowserPane;
class ColourPanel;
class PictureCommand;
class RecentDesignList;
class MainActions;
class StartPanel;
class TForm5;
class TForm3;
class TForm4;
class TForm6;
class TForm8;
class Tloomscope;
class UserMessages;

// The main window: the design view above a tool strip. Where the user is (folder, design,
// the folder's designs) lives in a MainState, which every route to a design goes through; the
// commands are the actions of a MainActions, which the buttons show and the keys trigger. The
// window wires them to the view and to the other windows, and writes the title and summary
// when the view announces a load. Its keys are looked at before the focused control sees them.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    // `programHome` holds config.ini; `messages` shows errors and notices.
    TForm2(const QString& programHome, UserMessages& messages, QWidget* parent = nullptr);
    ~TForm2() override;

    // A design named by a path (bytes as the file system holds them): current folder and
    // design from the path, open it fitted, list the folder again.
    void openFromPath(const std::string& path);
    // A path handed over by a second start (empty: just come to the front).
    void receiveHandOff(const std::string& path);
    // A design handed over while a modal window was open, opened once the last one closes.
    void bringToFront();
    // Starts making the high-resolution picture of the shown design at `path`, with a busy
    // indicator and the picture command disabled until pictureFinished. False when a picture
    // is still being made.
    bool savePictureTo(const QString& path);

    MainState& state() { return state_; }
    const MainState& state() const { return state_; }
    MainActions& actions() const { return *actions_; }
    Tloomscope* viewer() const { return loomscope1; }
    bool browserVisible() const;
    // The designs opened last, newest first (as config.ini keeps them).
    const std::vector<std::string>& recentDesigns() const;
    TRectF gunrect() const { return gunrect_; }
    // The external editor, as the settings dialog's field holds it.
    QString editorPath() const;

signals:
    // A picture asked for with savePictureTo is written or has failed (and was reported).
    void pictureFinished(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildToolStrip();
    void enterBrowser();
    void leaveBrowser(bool fit);
    void connectCommands();
    void layoutClient();
    void readConfiguration();
    void rememberDesign();
    void refreshStartPanel();
    bool handleKey(QObject* receiver, class QKeyEvent* event);
    void followColourStep(int row);

    // The one open operation: title, view, picture and print enabled.
    void openDesign(const std::string& path);
    void writeSummary();
    void openCommand();
    void copyViewToClipboard();
    void openManual();
    std::string manualPath() const;
    void replayStitchOut();

    void viewerPressed(QPoint position);
    void viewerReleased(QPoint position);
    void viewerWheel(QPoint position, int delta, bool* handled);

    QString programHome_;
    ConfigStore config_; // read once here, handed to every window that keeps settings
    UserMessages& messages_;
    MainState state_;
    MainActions* actions_ = nullptr;
    Tloomscope* loomscope1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* ToolBar1 = nullptr;
    ColourPanel* Panel5 = nullptr;       // the colour panel
    BrowserPane* RzGridPanel1 = nullptr; // the browser
    TForm5* Form5 = nullptr;
    TForm8* Form8 = nullptr; // the stitch-out replay
    TForm3* Form3 = nullptr; // the print window
    TForm4* Form4 = nullptr; // settings
    TForm6* Form6 = nullptr; // the fabric chooser
    PictureCommand* picture_ = nullptr;
    StartPanel* startPanel_ = nullptr;
    RecentDesignList* recent_ = nullptr;
    std::optional<WindowPlacement> placementAtStart_;
    class HandOffGate* gate_ = nullptr; // designs handed over wait here during modal windows

    TRectF gunrect_;
    QPoint pos1;      // where a pan began
    bool boo = false; // a pan is under way
    WheelSteps wheel_;
};

} // namespace loomscope
