#include "tform2.h"

#include "folderlist.h"
#include "inifile.h"
#include "mainconfig.h"
#include "model/fileio.h"
#include "projectinfo.h"
#include "settings/tform5.h"
#include "summarytext.h"
#include "usermessages.h"
#include "viewer/programfonts.h"
#include "viewer/tloomscope.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressDialog>
#include <QScreen>
#include <QToolButton>
#include <QUrl>

namespace loomscope {

namespace {

constexpr int kPanelHeight = 29;
constexpr int kToolBarHeight = 26;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;

MainKey mainKey(const QKeyEvent* event)
{
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_T:
        return MainKey::T;
    case Qt::Key_Left:
        return MainKey::Left;
    case Qt::Key_Right:
        return MainKey::Right;
    case Qt::Key_Plus:
        return keypad ? MainKey::KeypadPlus : MainKey::Other;
    case Qt::Key_Minus:
        return keypad ? MainKey::KeypadMinus : MainKey::Other;
    case Qt::Key_0:
        return keypad ? MainKey::Other : MainKey::Digit0;
    case Qt::Key_1:
        return keypad ? MainKey::Other : MainKey::Digit1;
    case Qt::Key_2:
        return keypad ? MainKey::Other : MainKey::Digit2;
    case Qt::Key_Period:
        return keypad ? MainKey::Other : MainKey::Period;
    case Qt::Key_Home:
        return MainKey::Home;
    case Qt::Key_End:
        return MainKey::End;
    case Qt::Key_PageUp:
        return MainKey::PageUp;
    case Qt::Key_PageDown:
        return MainKey::PageDown;
    case Qt::Key_M:
        return MainKey::M;
    case Qt::Key_R:
        return MainKey::R;
    case Qt::Key_Z:
        return MainKey::Z;
    case Qt::Key_B:
        return MainKey::B;
    case Qt::Key_P:
        return MainKey::P;
    default:
        return MainKey::Other;
    }
}

} // namespace

TForm2::TForm2(const QString& programHome, UserMessages& messages, QWidget* parent)
    : QWidget(parent), programHome_(programHome), messages_(messages)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QLatin1String(kApplicationTitle));
    setAcceptDrops(true);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(9);
    setFont(tahoma);

    loomscope1 = new Tloomscope(this);
    loomscope1->setObjectName(QStringLiteral("loomscope1"));
    loomscope1->SetsequinsizeD(5.0f);
    loomscope1->SetsequinsizeX(1.5f);
    loomscope1->Setsequincolor(0);
    loomscope1->Setbackcolor(15658734);
    connect(loomscope1, &Tloomscope::pressed, this, [this](QPoint p) { viewerPressed(p); });
    connect(loomscope1, &Tloomscope::released, this, [this](QPoint p) { viewerReleased(p); });
    connect(loomscope1, &Tloomscope::wheelTurned, this, &TForm2::viewerWheel);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Window);
    ToolBar1 = new QWidget(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    auto* strip = new QHBoxLayout(ToolBar1);
    strip->setContentsMargins(2, 2, 2, 2);
    strip->setSpacing(0);

    // Left to right; buttons whose window is not part of the program yet stay disabled.
    addTool("ToolButton1", ToolIcon::Open, QStringLiteral("打开版带文件"), &TForm2::openCommand);
    addTool("ToolButton2", ToolIcon::SavePicture, QStringLiteral("保存高清仿真图"),
            &TForm2::savePictureCommand);
    addTool("ToolButton3", ToolIcon::Previous, QStringLiteral("上一文件(←)"),
            &TForm2::previousFile);
    addTool("ToolButton4", ToolIcon::Next, QStringLiteral("下一文件(→)"), &TForm2::nextFile);
    addTool("ToolButton28", ToolIcon::Browser, QStringLiteral("浏览器"), &TForm2::unavailable);
    addTool("ToolButton5", ToolIcon::ZoomIn, QStringLiteral("放大(+)"), &TForm2::enlarge);
    addTool("ToolButton6", ToolIcon::ZoomOut, QStringLiteral("缩小(-)"), &TForm2::reduce);
    addTool("ToolButton8", ToolIcon::ActualSize, QStringLiteral("实际大小(1)"),
            &TForm2::actualSize);
    addTool("ToolButton7", ToolIcon::Fit, QStringLiteral("满屏显示(0)"), &TForm2::fitToView);
    addTool("ToolButton26", ToolIcon::Measure, QStringLiteral("测量(M)"), &TForm2::measure);
    addTool("ToolButton9", ToolIcon::ThreadLook, QStringLiteral("仿真(T)"),
            &TForm2::showThreadLook);
    addTool("ToolButton10", ToolIcon::Lines, QStringLiteral("线条"), &TForm2::showLines);
    addTool("ToolButton11", ToolIcon::StitchPoints, QStringLiteral("针迹点(.)"),
            &TForm2::togglePoints);
    addTool("ToolButton12", ToolIcon::MachineCodes, QStringLiteral("机器功能"),
            &TForm2::toggleMachineCodes);
    addTool("ToolButton35", ToolIcon::SlowDisplay, QStringLiteral("慢速显示(shift+R)"),
            &TForm2::unavailable);
    addTool("ToolButton13", ToolIcon::FirstColour, QStringLiteral("home"), &TForm2::firstColour);
    addTool("ToolButton14", ToolIcon::PriorColour, QStringLiteral("pageup"), &TForm2::priorColour);
    addTool("ToolButton15", ToolIcon::NextColour, QStringLiteral("pagedown"), &TForm2::nextColour);
    addTool("ToolButton16", ToolIcon::EndColour, QStringLiteral("end"), &TForm2::endColour);
    addTool("ToolButton17", ToolIcon::Fabric, QStringLiteral("布底"), &TForm2::unavailable);
    addTool("ToolButton18", ToolIcon::ColourPanel, QStringLiteral("色序"), &TForm2::unavailable);
    addTool("ToolButton24", ToolIcon::Screenshot, QStringLiteral("屏幕截图"),
            &TForm2::copyViewToClipboard);
    addTool("ToolButton25", ToolIcon::Print, QStringLiteral("打印"), &TForm2::unavailable);
    addTool("ToolButton23", ToolIcon::Editor, QStringLiteral("编辑版带"), &TForm2::unavailable);
    addTool("ToolButton31", ToolIcon::Settings, QString(), &TForm2::unavailable);
    addTool("ToolButton32", ToolIcon::WebPage, QString(), &TForm2::openWebPage);
    addTool("ToolButton33", ToolIcon::About, QString(), &TForm2::showAbout);
    for (const char* later : {"ToolButton2", "ToolButton28", "ToolButton35", "ToolButton17",
                              "ToolButton18", "ToolButton25", "ToolButton23", "ToolButton31"})
        buttons_.at(later)->setEnabled(false);
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->adjustSize();

    Panel5 = new QWidget(this); // the colour panel
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->hide();
    buildBrowserPane();

    Form5 = new TForm5(this);

    resize(850, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    layoutClient();
    qApp->installEventFilter(this);
}

TForm2::~TForm2()
{
    qApp->removeEventFilter(this);
}

QToolButton* TForm2::addTool(const char* name, ToolIcon icon, const QString& hint,
                             void (TForm2::*slot)())
{
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QLatin1String(name));
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, slot);
    ToolBar1->layout()->addWidget(button);
    buttons_[name] = button;
    return button;
}

void TForm2::buildBrowserPane()
{
    // The browser: hidden until it is built out; its summary pane is written by every open.
    RzGridPanel1 = new QWidget(this);
    RzGridPanel1->setObjectName(QStringLiteral("RzGridPanel1"));
    RzGridPanel1->setAutoFillBackground(true);
    auto* grid = new QGridLayout(RzGridPanel1);
    ListView1 = new QListWidget(RzGridPanel1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Label1 = new QLabel(RzGridPanel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(
        QString::fromStdString(summaryCaptions()).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    Label2 = new QLabel(RzGridPanel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2 = new QLineEdit(RzGridPanel1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    grid->addWidget(ListView1, 0, 0, 3, 1);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(Edit2, 1, 1, 1, 2);
    grid->setColumnStretch(0, 1);
    RzGridPanel1->hide();
}

bool TForm2::browserVisible() const
{
    return RzGridPanel1->isVisible();
}

void TForm2::layoutClient()
{
    const int w = width();
    const int h = height();
    const int viewWidth = Panel5->isVisible() ? w - 218 : w;
    loomscope1->setGeometry(0, 0, std::max(viewWidth, 0), std::max(h - kPanelHeight, 0));
    Panel5->setGeometry(viewWidth, 0, 218, std::max(h - kPanelHeight, 0));
    RzGridPanel1->setGeometry(0, 0, w, std::max(h - kPanelHeight, 0));
    Panel1->setGeometry(0, h - kPanelHeight, w, kPanelHeight);
    // Centred, and further left than the edge when the window is narrower than the strip.
    ToolBar1->move((Panel1->width() - ToolBar1->width()) / 2, (kPanelHeight - kToolBarHeight) / 2);
}

void TForm2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutClient();
}

void TForm2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        readConfiguration();
}

void TForm2::readConfiguration()
{
    const QString path = programHome_ + QStringLiteral("config.ini");
    if (!fileExists(path.toStdString()))
        return;
    IniFile ini;
    std::string error;
    if (!ini.load(path.toStdString(), &error)) {
        messages_.error(
            this,
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, QString::fromStdString(error)));
        return;
    }
    const MainConfig config = readMainConfig(ini, localeDecimalSeparator());
    if (config.editor)
        editorPath_ = QString::fromStdString(*config.editor);
    if (config.backcolor)
        loomscope1->Setbackcolor(*config.backcolor);
    if (config.sequincolor)
        loomscope1->Setsequincolor(*config.sequincolor);
    if (config.size1)
        loomscope1->SetsequinsizeD(static_cast<float>(*config.size1));
    if (config.size2)
        loomscope1->SetsequinsizeX(static_cast<float>(*config.size2));
    if (!config.error.empty())
        messages_.error(this, QString::fromStdString(config.error));
}

void TForm2::openFromPath(const QString& path)
{
    const QFileInfo info(path);
    const QString absolute = info.absoluteFilePath();
    currentFolder_ = info.absolutePath() + QLatin1Char('/');
    currentFile_ = info.fileName();
    currentName_ = QString::fromStdString(withoutExtension(info.fileName().toStdString()));
    openDesign(absolute, true);
    fillFolderList(currentFolder_, browserVisible());
}

void TForm2::receiveHandOff(const QString& path)
{
    bringToFront();
    if (path.isEmpty() || windowTitle().endsWith(path))
        return; // nothing to open, or it is already shown
    if (!fileExists(path.toStdString()))
        return;
    openFromPath(path);
}

void TForm2::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TForm2::openDesign(const QString& path, bool fit)
{
    setWindowTitle(QLatin1String(kApplicationTitle) + QStringLiteral(" - ") + path);
    const auto result = loomscope1->loaddstfile(path, fit);
    gunrect_ = loomscope1->dstrect();
    buttons_.at("ToolButton2")->setEnabled(true); // print (ToolButton25) comes with its window
    Label2->setText(
        QString::fromStdString(summaryText(currentName_.toStdString(), loomscope1->dstinfo(),
                                           localeDecimalSeparator()))
            .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    if (result.sideFile.failed())
        messages_.error(this, QString::fromStdString(result.sideFile.message));
}

void TForm2::fillFolderList(const QString& folder, bool /*thumbnails*/)
{
    ListView1->clear();
    designs_ = listDesigns(folder.toStdString());
    Edit2->setText(QString::number(designs_.size()));
}

void TForm2::previousFile()
{
    const auto entry =
        previousDesign(designs_, currentFile_.toStdString(), currentName_.toStdString());
    if (!entry)
        return;
    currentFile_ = QString::fromStdString(entry->fileName);
    currentName_ = QString::fromStdString(entry->name);
    openDesign(currentFolder_ + currentFile_, true);
}

void TForm2::nextFile()
{
    const auto entry = nextDesign(designs_, currentFile_.toStdString(), currentName_.toStdString());
    if (!entry)
        return;
    currentFile_ = QString::fromStdString(entry->fileName);
    currentName_ = QString::fromStdString(entry->name);
    openDesign(currentFolder_ + currentFile_, true);
}

void TForm2::openCommand()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), currentFolder_,
                                                      QStringLiteral("DST (.dst) (*.[dD][sS][tT])"),
                                                      nullptr, QFileDialog::HideNameFilterDetails);
    if (!path.isEmpty())
        openFromPath(path);
}

void TForm2::savePictureCommand()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SavePictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("JPEG Image File (*.jpg)"));
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setDirectory(currentFolder_);
    dialog.selectFile(currentName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    savePictureTo(dialog.selectedFiles().first());
}

bool TForm2::savePictureTo(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QProgressDialog progress(QStringLiteral("正在生成高清仿真图，请稍候……"), QString(), 0, 0, this);
    progress.setObjectName(QStringLiteral("SavePictureProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setCancelButton(nullptr);
    progress.show();
    const ExportResult result = loomscope1->savetofile(path);
    progress.close();
    QApplication::restoreOverrideCursor();
    if (!result.ok)
        messages_.error(this, result.error);
    return result.ok;
}

void TForm2::enlarge()
{
    loomscope1->Setscale(1.2f);
}
void TForm2::reduce()
{
    loomscope1->Setscale(0.8f);
}
void TForm2::actualSize()
{
    loomscope1->yibiyi();
}
void TForm2::fitToView()
{
    loomscope1->chuangkou(static_cast<float>(loomscope1->width()),
                          static_cast<float>(loomscope1->height()));
}
void TForm2::measure()
{
    loomscope1->Setcl(true);
}
void TForm2::showThreadLook()
{
    loomscope1->Setdstshowtype(tdstshow::dsturetype);
}
void TForm2::showLines()
{
    loomscope1->Setdstshowtype(tdstshow::dsline);
}
void TForm2::toggleShowType()
{
    loomscope1->Setdstshowtype(loomscope1->dstshowtype() == tdstshow::dsturetype
                                   ? tdstshow::dsline
                                   : tdstshow::dsturetype);
}
void TForm2::togglePoints()
{
    loomscope1->Setshowpoint(!loomscope1->showpoint());
}
void TForm2::toggleMachineCodes()
{
    loomscope1->Setshowjiqima(!loomscope1->showjiqima());
}
void TForm2::firstColour()
{
    loomscope1->firstcolor();
}
void TForm2::priorColour()
{
    loomscope1->priorcolor();
}
void TForm2::nextColour()
{
    loomscope1->nextcolor();
}
void TForm2::endColour()
{
    loomscope1->endcolor();
}

void TForm2::copyViewToClipboard()
{
    QGuiApplication::clipboard()->setImage(loomscope1->grabFramebuffer());
    messages_.information(this, QStringLiteral("图像已经保存在剪贴板里了，找个地方粘贴一下就行"));
}

void TForm2::openWebPage()
{
    QDesktopServices::openUrl(QUrl(QLatin1String(kProjectWebPage)));
}

void TForm2::showAbout()
{
    Form5->exec();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this)
            return handleKey(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm2::handleKey(QKeyEvent* event)
{
    // Before the first design, and while the browser is open, keys belong to the controls.
    if (currentName_.isEmpty() || browserVisible())
        return false;
    for (MainAction action : keyActions(mainKey(event), event->modifiers() & Qt::ShiftModifier))
        run(action);
    return true;
}

void TForm2::run(MainAction action)
{
    switch (action) {
    case MainAction::ToggleShowType:
        toggleShowType();
        break;
    case MainAction::PreviousFile:
        previousFile();
        break;
    case MainAction::NextFile:
        nextFile();
        break;
    case MainAction::Enlarge:
        enlarge();
        break;
    case MainAction::Reduce:
        reduce();
        break;
    case MainAction::Fit:
        fitToView();
        break;
    case MainAction::ActualSize:
        actualSize();
        break;
    case MainAction::ToggleBeginEnd:
        loomscope1->Setshowbeginend(!loomscope1->showbeginend());
        break;
    case MainAction::TogglePoints:
        togglePoints();
        break;
    case MainAction::FirstColour:
        firstColour();
        break;
    case MainAction::EndColour:
        endColour();
        break;
    case MainAction::PriorColour:
        priorColour();
        break;
    case MainAction::NextColour:
        nextColour();
        break;
    case MainAction::Measure:
        measure();
        break;
    case MainAction::SlowDisplay: // the stitch-out window is not part of the program yet
    case MainAction::Print:       // nor is printing
        break;
    }
}

void TForm2::viewerPressed(QPoint position)
{
    loomscope1->setFocus();
    if (loomscope1->dstrect().contains(static_cast<float>(position.x()),
                                       static_cast<float>(position.y()))) {
        pos1 = position;
        boo = true;
    }
}

void TForm2::viewerReleased(QPoint position)
{
    if (!boo)
        return;
    boo = false;
    loomscope1->offsetpos(static_cast<float>(position.x() - pos1.x()),
                          static_cast<float>(position.y() - pos1.y()));
    // The wheel zooms over the design where it is now, not where it was before the pan.
    gunrect_ = loomscope1->dstrect();
}

void TForm2::viewerWheel(QPoint position, int delta, bool* handled)
{
    // A sideways turn (no vertical part) is not a zoom.
    if (currentName_.isEmpty() || delta == 0)
        return;
    // Over the design where it is now: the toolbar and keys zoom and pan it too.
    gunrect_ = loomscope1->dstrect();
    if (gunrect_.contains(static_cast<float>(position.x()), static_cast<float>(position.y())))
        loomscope1->Setscale(delta > 0 ? 1.2f : 0.8f);
    gunrect_ = loomscope1->dstrect();
    *handled = true;
}

void TForm2::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || !fileExists(path.toStdString()) || !hasDstExtension(path.toStdString()))
        return;
    event->acceptProposedAction();
    openFromPath(path);
}

} // namespace loomscope
