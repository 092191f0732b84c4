#pragma once

#include "chartsearch.h"
#include "model/colour.h"
#include "threadchart.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace loomscope {

class ColourSwatch;
class MainState;
class ScreenColourPick;
class SwatchGrid;
class Tloomscope;
class UserMessages;

// The dialogs the colour panel asks through; tests put answers of their own in their place.
struct ColourPanelDialogs {
    // A Yes/No question; true for Yes.
    std::function<bool(QWidget* parent, const QString& question)> confirm;
    // The colour dialog opened on `initial`; nothing when it is cancelled.
    std::function<std::optional<TColor>(QWidget* parent, TColor initial)> chooseColour;
    // The open dialog for an Embird colour file, opened in `folder`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& folder)> chooseEmbirdFile;
};

// The colour panel (Panel5) at the right of the main window: the design's colour sequence
// (StringGrid2, one row per colour step), a palette of 25 swatches (StringGrid1), a thread chart
// from a ".tch" file of the program home with its find field and the ordering by closeness to a
// picked colour (ValueListEditor1), the screen colour pick, the background swatch, and the
// buttons that save the sequence as the design's side file or load an Embird colour file.
//
// Colours given to steps go to the view's colour table at once; the side file is written only
// by the save button, and the next load of the design applies it. The panel reads the shown
// design from the view and its path from the main-window state; it keeps neither.
class ColourPanel : public QWidget {
    Q_OBJECT
public:
    ColourPanel(Tloomscope* viewer, MainState& state, const QString& programHome,
                UserMessages& messages, QWidget* parent = nullptr);
    ~ColourPanel() override;

    static constexpr int kWidth = 218;

    // Shows the panel, fills its grids from the shown design (unless they already show it) and
    // lists the thread charts.
    void open();
    // Selects a row of the sequence grid (row r is colour step r − 1); other rows are ignored.
    void selectSequenceRow(int row);

    // Whether key presses sent to `receiver` are typing into the panel: its find field, its chart
    // box, or the palette whose names are edited by typing. Keyboard shortcuts of the window
    // must leave such keys alone.
    bool takesTyping(const QObject* receiver) const;

    void setDialogs(ColourPanelDialogs dialogs);
    ScreenColourPick* screenPick() const { return pick_; }

    // The loaded chart in file order.
    const std::vector<ChartEntry>& chart() const { return threadlistex; }

    // The operations behind the controls.
    void fillFromDesign();
    void listCharts();
    void loadChart(const QString& name);
    void findCode();
    void match();
    void saveSequence();
    void loadEmbirdColours();
    void pickFromScreen();

    void setVisible(bool visible) override;

    QToolButton* SpeedButton4 = nullptr; // "X": hides the panel
    QComboBox* ComboBox1 = nullptr;      // chart names; its text is the saved colour card
    SwatchGrid* ValueListEditor1 = nullptr;
    QLineEdit* Edit1 = nullptr;      // find code
    QPushButton* Button11 = nullptr; // match
    QComboBox* MatchOrderingBox = nullptr;
    QToolButton* SpeedButton5 = nullptr; // screen pick
    QCheckBox* CheckBox1 = nullptr;      // hide the window while picking
    ColourSwatch* Panel10 = nullptr;     // picked colour
    ColourSwatch* Panel11 = nullptr;     // chart colour
    ColourSwatch* Panel7 = nullptr;      // background
    SwatchGrid* StringGrid2 = nullptr;   // colour sequence
    SwatchGrid* StringGrid1 = nullptr;   // palette
    QWidget* ToolBar2 = nullptr;
    QToolButton* ToolButton29 = nullptr; // save the side file
    QToolButton* ToolButton36 = nullptr; // load an Embird file

signals:
    void visibilityChanged(bool visible);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void layoutGrids();
    void showChart(const std::vector<ChartEntry>& entries);
    void chartRowChosen();
    void chartRowDoubleClicked();
    void paletteDoubleClicked();
    void paletteRightReleased();
    void pickedColourToPalette();
    void chooseBackground();
    void setSequenceRow(int row, TColor colour, const QString& name);
    void rebuildPalette();
    void designLoaded();
    std::vector<TColor> viewerColourTable() const;

    Tloomscope* viewer_;
    MainState& state_;
    QString programHome_;
    UserMessages& messages_;
    ColourPanelDialogs dialogs_;
    ScreenColourPick* pick_ = nullptr;
    // The loaded chart, in file order; replaced by every chart load.
    std::vector<ChartEntry> threadlistex;
    // The grids show a design the view no longer holds (or none yet).
    bool stale_ = true;
    bool listingCharts_ = false;
};

} // namespace loomscope
