#include "tform3.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "drawing/programfonts.h"
#include "model/colorsequencefile.h"
#include "model/designfile.h"
#include "model/fileio.h"
#include "model/outputguard.h"
#include "pagefiles.h"
#include "pagepreview.h"
#include "pagetexts.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "tform9.h"
#include "widgets/enterinert.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace loomscope {

namespace {

const QString kTitle = QStringLiteral("Loomscope v3.0--打印系统");

QImage blankPicture()
{
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// Whatever the user typed, one entry a line.
std::vector<std::string> lines(const QString& text)
{
    std::vector<std::string> out;
    if (text.isEmpty())
        return out;
    for (const QString& line : text.split(QLatin1Char('\n')))
        out.push_back(line.toStdString());
    return out;
}

} // namespace

TForm3::TForm3(ConfigStore& config, const QString& programHome,
               std::function<TColor(int)> readcolorlist, UserMessages& messages, QWidget* parent)
    : QDialog(parent), config_(config), programHome_(programHome),
      readcolorlist_(std::move(readcolorlist)), messages_(messages), bit111(blankPicture())
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kTitle);
    buildControls();
    Form9 = new TForm9(config, programHome, messages, this);
    resize(940, 700);
    makeEnterInert(*this);
}

TForm3::~TForm3() = default;

void TForm3::buildControls()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    PaintBox1 = new PagePreview;
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setPicture(&bit111);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    outer->addWidget(ScrollBox1, 1);

    auto* side = new QVBoxLayout;
    outer->addLayout(side);
    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };

    auto* options = new QGroupBox(QStringLiteral("花样选项"), this);
    options->setObjectName(QStringLiteral("GroupBox1"));
    options->setFixedWidth(230);
    auto* optionLayout = new QVBoxLayout(options);
    auto box = [&](const QString& caption, const char* name, bool checked, bool enabled) {
        auto* b = new QCheckBox(caption, options);
        b->setObjectName(QLatin1String(name));
        b->setChecked(checked);
        b->setEnabled(enabled);
        optionLayout->addWidget(b);
        if (enabled)
            connect(b, &QCheckBox::clicked, this, &TForm3::recompose);
        return b;
    };
    CheckBox7 = box(QStringLiteral("显示公司信息"), "CheckBox7", true, true);
    CheckBox8 = box(QStringLiteral("显示花样信息"), "CheckBox8", true, true);
    CheckBox9 = box(QStringLiteral("显示颜色"), "CheckBox9", true, true);
    CheckBox6 = box(QStringLiteral("显示外框"), "CheckBox6", true, true);
    CheckBox1 = box(QStringLiteral("仿真效果(不能打印)"), "CheckBox1", false, true);
    CheckBox3 = box(QStringLiteral("起针结束点"), "CheckBox3", false, true);
    CheckBox4 = box(QStringLiteral("针迹点"), "CheckBox4", false, false);
    CheckBox5 = box(QStringLiteral("机器码"), "CheckBox5", false, false);

    auto* scaleLabel = new QLabel(QStringLiteral("比例："), options);
    scaleLabel->setObjectName(QStringLiteral("Label1"));
    optionLayout->addWidget(scaleLabel);
    auto radio = [&](const QString& caption, const char* name) {
        auto* r = new QRadioButton(caption, options);
        r->setObjectName(QLatin1String(name));
        optionLayout->addWidget(r);
        connect(r, &QRadioButton::clicked, this, &TForm3::placementClicked);
        return r;
    };
    RadioButton1 = radio(QStringLiteral("实际尺寸"), "RadioButton1");
    RadioButton2 = radio(QStringLiteral("适合纸张"), "RadioButton2");
    RadioButton3 = radio(QStringLiteral("指定区域"), "RadioButton3");
    RadioButton1->setChecked(true);
    Button9 = button(QStringLiteral("选择区域"), "Button9");
    Button9->setEnabled(false);
    optionLayout->addWidget(Button9);
    auto* optionButtons = new QHBoxLayout;
    Button8 = button(QStringLiteral("保存设置"), "Button8");
    Button7 = button(QStringLiteral("设置"), "Button7");
    Button7->setToolTip(QStringLiteral("设置公司信息"));
    optionButtons->addWidget(Button8);
    optionButtons->addWidget(Button7);
    optionLayout->addLayout(optionButtons);
    side->addWidget(options);

    auto* textGroup = new QGroupBox(QStringLiteral("文本描述"), this);
    textGroup->setObjectName(QStringLiteral("GroupBox2"));
    textGroup->setFixedWidth(230);
    auto* textLayout = new QVBoxLayout(textGroup);
    Memo1 = new QPlainTextEdit(textGroup);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumHeight(90);
    textLayout->addWidget(Memo1);
    auto* textButtons = new QHBoxLayout;
    Button4 = button(QStringLiteral("更新"), "Button4");
    Button5 = button(QStringLiteral("选择位置"), "Button5");
    textButtons->addWidget(Button4);
    textButtons->addWidget(Button5);
    textLayout->addLayout(textButtons);
    side->addWidget(textGroup);

    Button6 = button(QStringLiteral("改针数"), "Button6");
    side->addWidget(Button6);
    side->addStretch();
    auto* fileButtons = new QGridLayout;
    Button1 = button(QStringLiteral("打印"), "Button1");
    Button2 = button(QStringLiteral("保存"), "Button2");
    pdfButton = button(QStringLiteral("PDF"), "pdfButton");
    pdfButton->setToolTip(QStringLiteral("保存为 PDF"));
    Button3 = button(QStringLiteral("关闭"), "Button3");
    fileButtons->addWidget(Button1, 0, 0);
    fileButtons->addWidget(Button3, 0, 1);
    fileButtons->addWidget(Button2, 1, 0);
    fileButtons->addWidget(pdfButton, 1, 1);
    side->addLayout(fileButtons);

    connect(Button1, &QPushButton::clicked, this, &TForm3::printCommand);
    connect(Button2, &QPushButton::clicked, this, &TForm3::saveCommand);
    connect(pdfButton, &QPushButton::clicked, this, &TForm3::pdfCommand);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button4, &QPushButton::clicked, this, &TForm3::recompose);
    connect(Button5, &QPushButton::clicked, this, [this] {
        pointer_.armTextPosition();
        PaintBox1->setCursor(Qt::CrossCursor);
    });
    connect(Button6, &QPushButton::clicked, this, &TForm3::stitchCountCommand);
    // The page shows the shop's details as they are when the dialog closes.
    connect(Button7, &QPushButton::clicked, this, [this] {
        Form9->exec();
        if (page_.candraw)
            recompose();
    });
    connect(Button8, &QPushButton::clicked, this, &TForm3::saveOptions);
    connect(Button9, &QPushButton::clicked, this, [this] {
        pointer_.armArea();
        PaintBox1->setCursor(Qt::CrossCursor);
    });
    connect(PaintBox1, &PagePreview::pressed, this, [this](QPoint at) {
        applyPointer(pointer_.press({at.x(), at.y()}));
    });
    connect(PaintBox1, &PagePreview::moved, this, [this](QPoint at) {
        applyPointer(pointer_.move({at.x(), at.y()}));
    });
    connect(PaintBox1, &PagePreview::released, this, [this](QPoint at) {
        applyPointer(pointer_.release({at.x(), at.y()}));
    });
}

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
    setWindowTitle(kTitle);
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
    setWindowTitle(kTitle + QLatin1Char('[') + displayPath(designPath) + QLatin1Char(']'));
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
        messages_.error(this, QStringLiteral("Cannot open file \"%1\". %2")
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

void TForm3::recompose()
{
    page_.options = optionsFromBoxes();
    page_.placement = placementFromButtons();
    page_.freeText = lines(Memo1->toPlainText());
    if (bit111.width() != kPageWidth)
        return; // no page while no design is shown
    QPainter painter(&bit111);
    const PageSources sources{readcolorlist_, &config_, pathBytes(programHome_),
                              localeDecimalSeparator()};
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

bool TForm3::printTo(QPrinter& printer)
{
    if (!page_.candraw)
        return false;
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    sc = pageScale(static_cast<int>(area.width()), static_cast<int>(area.height()));
    QPainter painter;
    if (!painter.begin(&printer)) {
        messages_.error(
            this,
            QStringLiteral("The printer \"%1\" could not be started.").arg(printer.printerName()));
        return false;
    }
    page_.options = optionsFromBoxes();
    page_.placement = placementFromButtons();
    page_.freeText = lines(Memo1->toPlainText());
    const PageSources sources{readcolorlist_, &config_, pathBytes(programHome_),
                              localeDecimalSeparator()};
    const std::string problem = composepage(painter, 10, sc, dst, page_, sources);
    const bool ended = painter.end();
    if (!problem.empty())
        messages_.error(this, QString::fromStdString(problem));
    if (!ended)
        messages_.error(this, QStringLiteral("The page could not be sent to the printer \"%1\".")
                                  .arg(printer.printerName()));
    return ended;
}

void TForm3::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QString::fromStdString(pathDisplayText(dst.dstfilename())));
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    printTo(printer);
    QApplication::restoreOverrideCursor();
}

QString TForm3::proposedName(const char* extension) const
{
    const QString folder = QFile::decodeName(QByteArray::fromStdString(folderPart(designPath_)));
    return folder + QString::fromStdString(pathDisplayText(dst.dstfilename())) +
           QLatin1String(extension);
}

bool TForm3::refusedAsInput(const std::string& path)
{
    // The page is made from these: saving over one of them would destroy it.
    const ToolInputs inputs =
        designInputs(designPath_, {config_.path(), companyLogoPath(pathBytes(programHome_))});
    const auto input = overwrittenInput(path, inputs);
    if (input)
        messages_.error(this, QString::fromStdString(overwriteRefusal(path, *input)));
    return input.has_value();
}

QString TForm3::chooseSaveName(const QString& caption, const char* extension, const QString& filter)
{
    QFileDialog dialog(this, caption);
    dialog.setObjectName(QStringLiteral("SavePageDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    // Told its extension, the dialog asks "replace?" for the name that will really be written
    // ("rose" typed over an existing rose.bmp), not for the name as typed.
    dialog.setDefaultSuffix(QLatin1String(extension + 1));
    dialog.selectFile(proposedName(extension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TForm3::saveCommand()
{
    const QString chosen =
        chooseSaveName(QStringLiteral("保存"), ".bmp", QStringLiteral("BMP (*.bmp)"));
    if (!chosen.isEmpty())
        savePreviewAs(chosen);
}

QString TForm3::savePreviewAs(const QString& chosenName)
{
    if (bit111.width() != kPageWidth)
        return {};
    const std::string path = withExtension(pathBytes(chosenName), ".bmp");
    if (refusedAsInput(path))
        return {};
    // One pixel per page unit: printed at its resolution, the picture is the page at its size.
    const int pixelsPerMetre = static_cast<int>(std::lround(1000 / page_.unitMillimetres));
    if (const QString failed = saveBmp24(bit111, path, pixelsPerMetre); !failed.isEmpty()) {
        messages_.error(this, failed);
        return {};
    }
    messages_.information(this, QStringLiteral("保存成功"));
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TForm3::pdfCommand()
{
    const QString chosen =
        chooseSaveName(QStringLiteral("PDF"), ".pdf", QStringLiteral("PDF (*.pdf)"));
    if (!chosen.isEmpty())
        savePdfAs(chosen);
}

QString TForm3::savePdfAs(const QString& chosenName)
{
    if (!page_.candraw)
        return {};
    const std::string path = withExtension(pathBytes(chosenName), ".pdf");
    if (refusedAsInput(path))
        return {};
    page_.options = optionsFromBoxes();
    page_.placement = placementFromButtons();
    page_.freeText = lines(Memo1->toPlainText());
    const PageSources sources{readcolorlist_, &config_, pathBytes(programHome_),
                              localeDecimalSeparator()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString failed = writePagePdf(path, dst, page_, sources,
                                        QString::fromStdString(pathDisplayText(dst.dstfilename())));
    QApplication::restoreOverrideCursor();
    if (!failed.isEmpty()) {
        messages_.error(this, failed);
        return {};
    }
    messages_.information(this, QStringLiteral("保存成功"));
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TForm3::stitchCountCommand()
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(this, QStringLiteral("修改针数"),
                              QStringLiteral("原针数为：%1 请输入新的针数：").arg(dst.stitchs()),
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
        messages_.information(this, QStringLiteral("数字中包含非法字符，请重新输入"));
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
        messages_.error(this, (update.readFailed ? QStringLiteral("Cannot open file \"%1\". %2")
                                                 : QStringLiteral("Cannot create file \"%1\". %2"))
                                  .arg(displayPath(path), QString::fromStdString(update.error)));
        return false;
    }
    messages_.information(this, QStringLiteral("保存完毕"));
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
