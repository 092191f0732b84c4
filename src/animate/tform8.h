#pragma once

#include "model/colour.h"
#include "replaybuttons.h"
#include "replaystepper.h"
#include "replaysurface.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class QToolButton;
class QWidget;

namespace loomscope {

// The stitch-out window ("走针"): replays the sewing of a design record by record over the
// whole screen, as a machine would sew it, with a needle marker at the current record and
// counters of stitches and colours. A panel of 40 pixels on top sets the speed (1 to 10
// records every 10 ms), thick or thin lines and stitch points, and pauses, stops, resumes and
// restarts. The window reads the design file itself; thread colours come from the viewer.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    // `readcolorlist` gives the viewer's thread colour of a colour index.
    explicit TForm8(std::function<TColor(int)> readcolorlist, QWidget* parent = nullptr);
    ~TForm8() override;

    // Replays the design file (path bytes as on disk), modally; returns when the window closes.
    void replay(const std::string& designPath);
    // Shows the replay of the design file without waiting for the window to close.
    void showReplay(const std::string& designPath);

    // The picture below the panel as drawn so far.
    const QImage& surface() const { return surface_.image(); }
    const ReplayStepper* stepper() const { return stepper_.get(); }

    // The window's event handlers; the timer and the controls call them.
    void Timer1Timer();
    void TrackBar1Change(int position);
    void CheckBox1Click(bool checked);
    void RadioButton1Click(bool checked);
    void RadioButton2Click(bool checked);
    void SpeedButton1Click(); // play
    void SpeedButton2Click(); // pause
    void SpeedButton3Click(); // stop
    void SpeedButton4Click(); // restart from the beginning
    void Button12Click();     // close

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPanel();
    void FormShow(const std::string& designPath);
    void FormClose();
    void startReplay();
    void drawRecords();
    void setButtons(ReplayButtons state);
    void showCounters();
    QRect needleRect() const;
    static void drawneedle(QPainter& painter, int x, int y);

    std::function<TColor(int)> readcolorlist_;

    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QPushButton* Button12 = nullptr;
    QTimer* Timer1 = nullptr;

    bool start = false;    // the file has been read and the surface made
    bool fzhengji = false; // stitch points drawn
    int speed = 1;         // records per tick
    int linew = 3;         // line width: 3 thick, 1 thin
    std::string ffilename;
    ReplaySurface surface_;
    std::unique_ptr<ReplayStepper> stepper_;
    bool needleShown_ = false; // set by the first tick that draws
    QRect needleShownAt_;
    QString failure_; // why the file could not be replayed, shown on the black area
};

} // namespace loomscope
