#pragma once

#include "composepage.h"
#include "model/tembs.h"
#include "previewpointer.h"
#include "printpage.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace loomscope {

class ConfigStore;
class PagePreview;
class TForm9;
class UserMessages;

// The print window: a preview of one portrait page (company block, design block, rule, free
// text, thread swatches and the design) beside the page options, printing through the
// platform's print dialog, and saving the page as a BMP picture or a PDF. It reads the design
// file again into a design of its own, with the side file's colours; the swatches show the
// main view's thread colours through `readcolorlist`.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    // `config` holds the page options and the company texts; `programHome` the logo.
    TForm3(ConfigStore& config, const QString& programHome,
           std::function<TColor(int)> readcolorlist, UserMessages& messages,
           QWidget* parent = nullptr);
    ~TForm3() override;

    // Shows the print window modally for the design file (path bytes as on disk).
    void showFor(const std::string& designPath);
    // What showing does before the window appears: reads the design and its side file, takes
    // the printer's scale, chooses the placement, restores the saved options and composes the
    // preview. False when there is no readable design (the page is then not offered).
    bool prepare(const std::string& designPath);

    // Composes the preview again from the controls and repaints it.
    void recompose();
    // The page on a printer chosen by the caller: portrait, 10 points, the printer's scale.
    bool printTo(QPrinter& printer);
    // The answer to "改针数" (empty: nothing changes).
    void applyStitchCountAnswer(const QString& answer);
    // The preview as a BMP under the chosen name (".bmp" added unless it ends in it), then
    // "保存成功". Returns the path written, empty when it failed (the user has been told).
    QString savePreviewAs(const QString& chosenName);
    // The page as a PDF under the chosen name (".pdf" added unless it ends in it).
    QString savePdfAs(const QString& chosenName);
    // Whether `path` is a file the page is made from (and so must not be written): said to
    // the user when it is.
    bool refusedAsInput(const std::string& path);
    // "保存设置": the eight options into config.ini, then "保存完毕".
    bool saveOptions();

    const QImage& preview() const { return bit111; }
    const PrintPage& page() const { return page_; }
    const Tembs& design() const { return dst; }
    float printerScale() const { return sc; }
    TForm9* companyDialog() const { return Form9; }
    // Where the preview picture's top-left lies in the scroll box's scrolled area.
    QPoint previewOrigin() const;

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void readOptions();
    PrintOptions optionsFromBoxes() const;
    void setBoxes(const PrintOptions& options);
    Placement placementFromButtons() const;
    // The page as the controls set it (options, placement, free text), and what it is drawn
    // from.
    PageSources takeControls();
    void layoutPreview(bool resetScroll);
    QString proposedName(const char* extension) const;

    void printCommand();
    // The save dialog for the page; the chosen name, or empty.
    QString chooseSaveName(const QString& caption, const char* extension, const QString& filter);
    void saveCommand();
    void pdfCommand();
    void stitchCountCommand();
    void placementClicked();

    void applyPointer(const PreviewPointer::Step& step);

    ConfigStore& config_;
    QString programHome_;
    std::function<TColor(int)> readcolorlist_;
    UserMessages& messages_;
    std::string designPath_;

    QScrollArea* ScrollBox1 = nullptr;
    PagePreview* PaintBox1 = nullptr;
    QCheckBox* CheckBox7 = nullptr;       // company block
    QCheckBox* CheckBox8 = nullptr;       // design block
    QCheckBox* CheckBox9 = nullptr;       // swatches
    QCheckBox* CheckBox6 = nullptr;       // rule
    QCheckBox* CheckBox1 = nullptr;       // shaded thread lines
    QCheckBox* CheckBox3 = nullptr;       // start and end cross-hairs
    QCheckBox* CheckBox4 = nullptr;       // stitch points, kept only
    QCheckBox* CheckBox5 = nullptr;       // machine codes, kept only
    QRadioButton* RadioButton1 = nullptr; // actual size
    QRadioButton* RadioButton2 = nullptr; // fit to paper
    QRadioButton* RadioButton3 = nullptr; // selected area
    QPushButton* Button1 = nullptr;       // print
    QPushButton* Button2 = nullptr;       // save as BMP
    QPushButton* Button3 = nullptr;       // close
    QPushButton* Button4 = nullptr;       // update the free text
    QPushButton* Button5 = nullptr;       // pick the text position
    QPushButton* Button6 = nullptr;       // change the printed stitch count
    QPushButton* Button7 = nullptr;       // company information
    QPushButton* Button8 = nullptr;       // save the options
    QPushButton* Button9 = nullptr;       // select the area
    QPushButton* pdfButton = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // the free text
    TForm9* Form9 = nullptr;

    Tembs dst;
    QImage bit111;             // the preview page, 595 x 840 while shown
    float sc = 1;              // printer pixels per page unit, taken when the window is shown
    PrintPage page_;           // candraw, designrect, textpos, falsestitches and the options
    PreviewPointer pointer_;   // the mouse on the preview: area drags, text placing
    bool areaDragged_ = false; // an area has been dragged out since "指定区域" was chosen
    bool previewScrolls_[2] = {false, false};
};

} // namespace loomscope
