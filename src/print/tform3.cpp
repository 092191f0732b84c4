#include "tform3.h"

#include "config/configstore.h"
#include "drawing/programfonts.h"
#include "model/colorsequencefile.h"
#include "model/designfile.h"
#include "model/fileio.h"
#include "pagepreview.h"
#include "pagetexts.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "tform9.h"
#include "widgets/enterinert.h"

#include <QCheckBox>
#include <QEvent>
#include <QInputDialog>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

namespace loomscope {

namespace {

QImage blankPicture()
{
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

} // namespace

TForm3::TForm3(ConfigStore& config, const QString& programHome,
               std::function<TColor(int)> readcolorlist, UserMessages& messages, QWidget* parent)
    : QDialog(parent), config_(config), programHome_(programHome),
      readcolorlist_(std::move(readcolorlist)), messages_(messages), bit111(blankPicture())
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("Loomscope v3.0--打印系统"));
    buildControls();
    Form9 = new TForm9(config, programHome, messages, this);
    resize(940, 700);
    makeEnterInert(*this);
}

TForm3::~TForm3() = default;

void TForm3::showFor(const std::string& designPath)
{
    // A file that is there but holds no design has been reported: an empty page would only
    // offer to print nothing. A missing file shows the empty page, with nothing to print.
    if (!prepare(designPath) && fileExists(designPath))
        return;
    exec();
}

bool TForm3::prepare(const std::string& designPath)
{
    designPath_ = designPath;
    setWindowTitle(tr("Loomscope v3.0--打印系统"));
    pointer_.reset();
    PaintBox1->unsetCursor();
    PaintBox1->setBand(std::nullopt);
    page_.candraw = false;
    bit111 = blankPicture();
    // Nothing of an earlier design may reach this page, whatever becomes of this read.
    dst.clear();
    Button1->setVisible(false);
    pdfButton->setVisible(false);
    Button2->setEnabled(false);

    const DesignLoad load = loadDesign(dst, designPath);
    if (load.status == DstReadStatus::Missing) {
        dst.clear();
        layoutPreview(true);
        return false;
    }
    setWindowTitle(tr("Loomscope v3.0--打印系统") + QLatin1Char('[') + displayPath(designPath) +
                   QLatin1Char(']'));
    if (!load.read()) {
        dst.clear();
        messages_.error(this,
                        QStringLiteral("\"%1\" cannot be printed: %2.")
                            .arg(displayPath(designPath), QString::fromStdString(load.reason)));
        layoutPreview(true);
        return false;
    }
    page_.candraw = true;
    Button1->setVisible(true);
    pdfButton->setVisible(true);
    Button2->setEnabled(true);
    if (!load.sideFileProblem().empty())
        messages_.error(this, QString::fromStdString(load.sideFileProblem()));
    page_.falsestitches = dst.stitchs();

    {
        // The page scale of the printer current now; printing takes that of the printer the
        // user then chooses.
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Portrait);
        const QRectF area = printer.pageRect(QPrinter::DevicePixel);
        sc = area.isEmpty()
                 ? 1.0f
                 : pageScale(static_cast<int>(area.width()), static_cast<int>(area.height()));
        page_.unitMillimetres =
            area.isEmpty() ? kPointMillimetres : unitMillimetres(sc, printer.resolution());
    }

    bit111 = QImage(kPageWidth, kPageHeight, QImage::Format_RGB32);
    bit111.setDotsPerMeterX(3780); // 96 dots per inch: 7-point text as on a screen
    bit111.setDotsPerMeterY(3780);
    (initialPlacement(dst, page_.unitMillimetres) == Placement::FitToPaper ? RadioButton2
                                                                           : RadioButton1)
        ->setChecked(true);
    Button9->setEnabled(false);
    areaDragged_ = false;
    page_.textpos = {30, 90};
    page_.designrect = kFrame;
    layoutPreview(true);
    readOptions();
    recompose();
    return true;
}

void TForm3::readOptions()
{
    if (const std::string& error = config_.readError(); !error.empty()) {
        setBoxes(PrintOptions{}); // what the boxes start with when nothing is saved
        messages_.error(this, tr("Cannot open file \"%1\". %2")
                                  .arg(displayPath(config_.path()), QString::fromStdString(error)));
        return;
    }
    const PrintOptionsRead read = readPrintOptions(config_.ini());
    setBoxes(read.options);
    if (!read.error.empty())
        messages_.error(this, QString::fromStdString(read.error));
}

PrintOptions TForm3::optionsFromBoxes() const
{
    PrintOptions o;
    o.cominfo = CheckBox7->isChecked();
    o.designinfo = CheckBox8->isChecked();
    o.color = CheckBox9->isChecked();
    o.border = CheckBox6->isChecked();
    o.truetype = CheckBox1->isChecked();
    o.beginend = CheckBox3->isChecked();
    o.points = CheckBox4->isChecked();
    o.function = CheckBox5->isChecked();
    return o;
}

void TForm3::setBoxes(const PrintOptions& o)
{
    CheckBox7->setChecked(o.cominfo);
    CheckBox8->setChecked(o.designinfo);
    CheckBox9->setChecked(o.color);
    CheckBox6->setChecked(o.border);
    CheckBox1->setChecked(o.truetype);
    CheckBox3->setChecked(o.beginend);
    CheckBox4->setChecked(o.points);
    CheckBox5->setChecked(o.function);
}

Placement TForm3::placementFromButtons() const
{
    // "指定区域" takes effect once an area has been dragged out: until then the page stays as
    // the preview shows it, on paper and in files too.
    if (RadioButton3->isChecked())
        return areaDragged_ ? Placement::SelectedArea : page_.placement;
    if (RadioButton2->isChecked())
        return Placement::FitToPaper;
    return Placement::ActualSize;
}

PageSources TForm3::takeControls()
{
    page_.options = optionsFromBoxes();
    page_.placement = placementFromButtons();
    // Whatever the user typed, one entry a line.
    page_.freeText.clear();
    if (const QString text = Memo1->toPlainText(); !text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n')))
            page_.freeText.push_back(line.toStdString());
    return {readcolorlist_, &config_, pathBytes(programHome_), localeDecimalSeparator()};
}

void TForm3::recompose()
{
    const PageSources sources = takeControls();
    if (bit111.width() != kPageWidth)
        return; // no page while no design is shown
    QPainter painter(&bit111);
    const std::string problem = composepage(painter, 7, 1, dst, page_, sources);
    painter.end();
    PaintBox1->update();
    if (!problem.empty())
        messages_.error(this, QString::fromStdString(problem));
}

void TForm3::placementClicked()
{
    Button9->setEnabled(RadioButton3->isChecked());
    areaDragged_ = false;
    // The selected area is composed once one has been dragged out.
    if (!RadioButton3->isChecked())
        recompose();
}

void TForm3::stitchCountCommand()
{
    bool ok = false;
    const QString answer = QInputDialog::getText(
        this, tr("修改针数"), tr("原针数为：%1 请输入新的针数：").arg(dst.stitchs()),
        QLineEdit::Normal, QString(), &ok);
    if (ok)
        applyStitchCountAnswer(answer);
}

void TForm3::applyStitchCountAnswer(const QString& answer)
{
    const StitchCountAnswer a = parseStitchCount(answer.toStdString());
    switch (a.kind) {
    case StitchCountAnswer::Kind::Unchanged:
        return;
    case StitchCountAnswer::Kind::IllegalCharacter:
        messages_.information(this, tr("数字中包含非法字符，请重新输入"));
        return;
    case StitchCountAnswer::Kind::NotAnInteger:
        messages_.error(this, QString::fromStdString(a.error));
        return;
    case StitchCountAnswer::Kind::Accepted:
        page_.falsestitches = a.value;
        recompose();
        return;
    }
}

bool TForm3::saveOptions()
{
    const std::string& path = config_.path();
    const PrintOptions options = optionsFromBoxes();
    const IniUpdate update = config_.change([&](IniFile& ini) { writePrintOptions(ini, options); });
    if (!update.ok()) {
        messages_.error(this, (update.readFailed ? tr("Cannot open file \"%1\". %2")
                                                 : tr("Cannot create file \"%1\". %2"))
                                  .arg(displayPath(path), QString::fromStdString(update.error)));
        return false;
    }
    messages_.information(this, tr("保存完毕"));
    return true;
}

void TForm3::applyPointer(const PreviewPointer::Step& step)
{
    if (step.band)
        PaintBox1->setBand(QRect(QPoint(step.band->left, step.band->top),
                                 QPoint(step.band->right, step.band->bottom)));
    if (step.bandGone)
        PaintBox1->setBand(std::nullopt);
    if (step.cursorBack)
        PaintBox1->unsetCursor();
    if (step.area) {
        page_.designrect = *step.area;
        areaDragged_ = true;
    }
    if (step.textpos)
        page_.textpos = *step.textpos;
    if (step.area || step.textpos)
        recompose();
}

QPoint TForm3::previewOrigin() const
{
    return PaintBox1->pictureOrigin();
}

void TForm3::layoutPreview(bool resetScroll)
{
    const QSize client = ScrollBox1->viewport()->size();
    const PreviewAxis h = previewHorizontal(client.width());
    const PreviewAxis v = previewVertical(client.height());
    PaintBox1->resize(h.range, v.range);
    PaintBox1->setPictureOrigin(QPoint(h.offset, v.offset));
    if (resetScroll || h.scrolls != previewScrolls_[0])
        ScrollBox1->horizontalScrollBar()->setValue(0);
    if (resetScroll || v.scrolls != previewScrolls_[1])
        ScrollBox1->verticalScrollBar()->setValue(0);
    previewScrolls_[0] = h.scrolls;
    previewScrolls_[1] = v.scrolls;
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize)
        layoutPreview(false);
    return QDialog::eventFilter(watched, event);
}

void TForm3::hideEvent(QHideEvent* event)
{
    bit111 = blankPicture();
    QDialog::hideEvent(event);
}

} // namespace loomscope
