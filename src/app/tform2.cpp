#include "tform2.h"

#include "animate/tform8.h"
#include "browser/browserpane.h"
#include "colour/colourpanel.h"
#include "config/mainconfig.h"
#include "config/programhome.h"
#include "config/projectinfo.h"
#include "drawing/programfonts.h"
#include "handoffgate.h"
#include "keyinput.h"
#include "mainactions.h"
#include "model/embroideryformats.h"
#include "model/fileio.h"
#include "model/summarytext.h"
#include "picturecommand.h"
#include "print/tform3.h"
#include "recentdesignlist.h"
#include "session/pathstrings.h"
#include "session/processlaunch.h"
#include "session/urilist.h"
#include "session/usermessages.h"
#include "settings/externaleditor.h"
#include "settings/tform4.h"
#include "settings/tform5.h"
#include "settings/tform6.h"
#include "startpanel.h"
#include "viewcommands.h"
#include "viewer/tloomscope.h"
#include "windowmemory.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace loomscope {

namespace {
constexpr int kPanelHeight = 29;
constexpr int kToolBarHeight = 26;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;

QString withNewlines(const std::string& crSeparated)
{
    return QString::fromStdString(crSeparated).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
} // namespace

TForm2::TForm2(const QString& programHome, UserMessages& messages, QWidget* parent)
    : QWidget(parent), programHome_(programHome), config_(configFilePath(pathBytes(programHome))),
      messages_(messages)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QLatin1String(kApplicationTitle));
    setAcceptDrops(true);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(9);
    setFont(tahoma);

    actions_ = new MainActions(this);
    recent_ = new RecentDesignList(config_, messages_, this);
    gate_ = new HandOffGate(this);
    connect(gate_, &HandOffGate::open, this, [this](const std::string& path) {
        // Whole paths compare: "/a/b.dst" is not shown because "/x/a/b.dst" is.
        if (path != state_.currentDesignPath() && fileExists(path))
            openFromPath(path);
    });
    connect(recent_, &RecentDesignList::chosen, this, &TForm2::openFromPath);
    loomscope1 = new Tloomscope(this);
    loomscope1->setObjectName(QStringLiteral("loomscope1"));
    loomscope1->SetsequinsizeD(5.0f);
    loomscope1->SetsequinsizeX(1.5f);
    loomscope1->Setsequincolor(0);
    loomscope1->Setbackcolor(15658734);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Window);
    buildToolStrip();

    Panel5 = new ColourPanel(loomscope1, state_, programHome_, messages_, this);
    connect(Panel5, &ColourPanel::visibilityChanged, this, [this](bool shown) {
        layoutClient();
        if (!shown) // the keys go back to the view, not to a field that is gone
            loomscope1->setFocus();
    });
    RzGridPanel1 = new BrowserPane(state_, programHome_, messages_, this);
    RzGridPanel1->hide();
    Form5 = new TForm5(displayPath(manualPath()), this);
    auto threadColour = [view = loomscope1](int i) { return view->readcolorlist(i); };
    Form8 = new TForm8(threadColour, this);
    Form3 = new TForm3(config_, programHome_, threadColour, messages_, this);
    Form4 = new TForm4(config_, programHome_, messages_, this);
    Form6 = new TForm6(config_, programHome_, loomscope1, messages_, this);
    connectCommands();

    startPanel_ = new StartPanel(loomscope1);
    connect(startPanel_, &StartPanel::designChosen, this, &TForm2::openFromPath);

    resize(850, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    placementAtStart_ = restoreWindowPlacement(*this, config_);
    layoutClient();
    refreshStartPanel();
    qApp->installEventFilter(this);
}

TForm2::~TForm2()
{
    qApp->removeEventFilter(this);
    delete recent_; // it keeps its list in config_, which goes before the child objects do
}

void TForm2::buildToolStrip()
{
    ToolBar1 = new QWidget(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    auto* strip = new QHBoxLayout(ToolBar1);
    strip->setContentsMargins(2, 2, 2, 2);
    strip->setSpacing(0);
    for (const auto& [name, action] : actions_->toolStrip()) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action);
        button->setIconSize(QSize(16, 16));
        button->setFixedSize(kButtonWidth, kButtonHeight);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (action == actions_->open) {
            // The designs opened last, from the open button's arrow.
            button->setMenu(recent_->makeMenu(button));
            button->setPopupMode(QToolButton::MenuButtonPopup);
            button->setFixedSize(kButtonWidth + 12, kButtonHeight);
        }
        strip->addWidget(button);
    }
    ToolBar1->setFixedHeight(kToolBarHeight);
    ToolBar1->adjustSize();
}

void TForm2::enterBrowser()
{
    if (browserVisible())
        return;
    RzGridPanel1->show();
    RzGridPanel1->raise();
    loomscope1->Setshowfont(false);
    RzGridPanel1->previewHost()->layout()->addWidget(loomscope1);
    RzGridPanel1->previewHost()->layout()->activate();
    loomscope1->show();
    actions_->fit->trigger();
    RzGridPanel1->enter();
}

void TForm2::leaveBrowser(bool fit)
{
    if (!browserVisible())
        return;
    RzGridPanel1->hide();
    loomscope1->Setshowfont(true);
    RzGridPanel1->previewHost()->layout()->removeWidget(loomscope1);
    loomscope1->setParent(this);
    loomscope1->show();
    loomscope1->lower();
    layoutClient();
    (fit ? actions_->fit : actions_->actualSize)->trigger();
}

void TForm2::connectCommands()
{
    MainActions& a = *actions_;
    Tloomscope* view = loomscope1;
    connect(&state_, &MainState::openRequested, this, &TForm2::openDesign);
    connect(view, &Tloomscope::designLoaded, this, &TForm2::writeSummary);
    connect(view, &Tloomscope::designLoaded, this, &TForm2::rememberDesign);
    connect(view, &Tloomscope::designLoaded, this, &TForm2::refreshStartPanel);
    // The wheel zooms over the design where it is now, whatever moved it.
    connect(view, &Tloomscope::viewChanged, this, [this] { gunrect_ = loomscope1->dstrect(); });
    connect(view, &Tloomscope::pressed, this, [this](QPoint p) { viewerPressed(p); });
    connect(view, &Tloomscope::released, this, [this](QPoint p) { viewerReleased(p); });
    connect(view, &Tloomscope::wheelTurned, this, &TForm2::viewerWheel);

    connect(a.open, &QAction::triggered, this, &TForm2::openCommand);
    connect(a.browser, &QAction::triggered, this, &TForm2::enterBrowser);
    connect(view, &Tloomscope::doubleClicked, this, &TForm2::enterBrowser);
    connect(RzGridPanel1, &BrowserPane::closeRequested, this, [this] { leaveBrowser(false); });
    connect(RzGridPanel1, &BrowserPane::designActivated, this, [this] { leaveBrowser(true); });
    // Ctrl+O besides the key table; it works wherever the window has the focus.
    a.open->setShortcut(QKeySequence::Open);
    a.open->setShortcutContext(Qt::WindowShortcut);
    addAction(a.open);
    picture_ = new PictureCommand(*view, state_, config_, *a.savePicture, messages_, this);
    connect(a.savePicture, &QAction::triggered, picture_, &PictureCommand::run);
    connect(picture_, &PictureCommand::finished, this, &TForm2::pictureFinished);
    connect(a.previous, &QAction::triggered, &state_, &MainState::openPrevious);
    connect(a.next, &QAction::triggered, &state_, &MainState::openNext);
    connectViewCommands(a, *view, [this](int row) { followColourStep(row); });
    connect(a.colourPanel, &QAction::triggered, Panel5, &ColourPanel::open);
    connect(a.screenshot, &QAction::triggered, this, &TForm2::copyViewToClipboard);
    connect(a.webPage, &QAction::triggered, this, &TForm2::openManual);
    // Window-modal without an event loop of their own nested in the action.
    connect(a.about, &QAction::triggered, Form5, &QDialog::open);
    connect(a.slowDisplay, &QAction::triggered, this, &TForm2::replayStitchOut);
    connect(a.print, &QAction::triggered, this,
            [this] { Form3->showFor(state_.currentDesignPath()); });
    connect(a.settings, &QAction::triggered, Form4, &QDialog::open);
    connect(a.fabric, &QAction::triggered, Form6, &QDialog::open);
    connect(a.editor, &QAction::triggered, this,
            [this] { openDesignInEditor(this, *Form4, state_.currentDesignPath(), messages_); });
}

bool TForm2::browserVisible() const
{
    return RzGridPanel1->isVisible();
}

void TForm2::layoutClient()
{
    const int w = width();
    const int h = height();
    const int viewWidth = Panel5->isHidden() ? w : w - ColourPanel::kWidth;
    // The colour panel keeps the right edge; the view, or the browser over it, the rest.
    if (loomscope1->parentWidget() == this)
        loomscope1->setGeometry(0, 0, std::max(viewWidth, 0), std::max(h - kPanelHeight, 0));
    Panel5->setGeometry(viewWidth, 0, ColourPanel::kWidth, std::max(h - kPanelHeight, 0));
    RzGridPanel1->setGeometry(0, 0, std::max(viewWidth, 0), std::max(h - kPanelHeight, 0));
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

void TForm2::closeEvent(QCloseEvent* event)
{
    keepWindowPlacement(*this, config_, placementAtStart_);
    recent_->flush();
    QWidget::closeEvent(event);
}

const std::vector<std::string>& TForm2::recentDesigns() const
{
    return recent_->designs();
}

void TForm2::rememberDesign()
{
    if (loomscope1->view().isexist())
        recent_->remember(state_.currentDesignPath());
}

void TForm2::refreshStartPanel()
{
    const DesignView& view = loomscope1->view();
    startPanel_->setVisible(!view.isexist());
    if (view.isexist())
        return;
    // An empty view shows its background colour, never the fabric: the text stands out from it.
    const TColor ink = complementOf(view.backcolor());
    startPanel_->setInk(QColor(redOf(ink), greenOf(ink), blueOf(ink)));
    startPanel_->setDesigns(recent_->existing());
    // With no design shown, the keys walk the recent designs (the view has nothing to zoom).
    if (isActiveWindow() && !startPanel_->recentList()->isHidden())
        startPanel_->recentList()->setFocus();
    startPanel_->setProblem(
        state_.hasDesign() ? tr("“%1” cannot be shown: %2")
                                 .arg(displayPath(state_.currentFileName()),
                                      QString::fromStdString(readFailureReason(view.lastRead())))
                           : QString());
}

void TForm2::readConfiguration()
{
    QString problem;
    if (const std::string& error = config_.readError(); !error.empty()) {
        problem = tr("Cannot open file \"%1\". %2")
                      .arg(displayPath(config_.path()), QString::fromStdString(error));
    } else {
        const MainConfig config = readMainConfig(config_.ini(), localeDecimalSeparator());
        if (config.editor)
            Form4->setEditorPath(QString::fromStdString(*config.editor));
        if (config.backcolor)
            loomscope1->Setbackcolor(*config.backcolor);
        if (config.sequincolor)
            loomscope1->Setsequincolor(*config.sequincolor);
        if (config.size1)
            loomscope1->SetsequinsizeD(static_cast<float>(*config.size1));
        if (config.size2)
            loomscope1->SetsequinsizeX(static_cast<float>(*config.size2));
        problem = QString::fromStdString(config.error);
    }
    refreshStartPanel(); // its text follows the background
    // Shown from the event loop: a damaged setting must not hold up the design the program
    // was started with.
    if (!problem.isEmpty())
        QTimer::singleShot(0, this, [this, problem] { messages_.error(this, problem); });
}

void TForm2::openFromPath(const std::string& path)
{
    state_.openPath(absolutePath(path));
}

void TForm2::receiveHandOff(const std::string& path)
{
    bringToFront();
    if (!path.empty())
        gate_->receive(path);
}

void TForm2::bringToFront()
{
    // Back to the state it had before it was minimised: maximised stays maximised.
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TForm2::openDesign(const std::string& path)
{
    setWindowTitle(QLatin1String(kApplicationTitle) + QStringLiteral(" - ") + displayPath(path));
    const auto result = loomscope1->loaddstfile(path, true);
    actions_->savePicture->setEnabled(true);
    actions_->print->setEnabled(true);
    // A side file that failed, or one whose names could not be read.
    if (!result.sideFile.message.empty())
        messages_.error(this, QString::fromStdString(result.sideFile.message));
}

void TForm2::writeSummary()
{
    const DesignView& view = loomscope1->view();
    const std::string name = pathDisplayText(state_.currentDesignName());
    RzGridPanel1->setSummary(withNewlines(
        view.isexist() ? summaryText(name, loomscope1->dstinfo(), localeDecimalSeparator())
                       : failedSummaryText(name, view.lastRead())));
}

void TForm2::openCommand()
{
    const QString chosen = QFileDialog::getOpenFileName(
        this, QString(), QFile::decodeName(state_.currentFolder().c_str()), designOpenFilters(),
        nullptr, QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty())
        return;
    const std::string path = existingPathBytes(chosen);
    if (path.empty()) {
        messages_.error(this, QStringLiteral("\"%1\" cannot be opened from this dialog: the "
                                             "file is gone, or its name is not in this "
                                             "system's character set. Drop it on the window "
                                             "or open it from its file manager instead.")
                                  .arg(chosen));
        return;
    }
    openFromPath(path);
}

bool TForm2::savePictureTo(const QString& path)
{
    return picture_->start(pathBytes(path));
}

void TForm2::followColourStep(int row)
{
    if (Panel5->isVisible())
        Panel5->selectSequenceRow(row);
}

void TForm2::replayStitchOut()
{
    // Only a design whose file is still there: the replay reads it again.
    const std::string path = state_.currentDesignPath();
    if (fileExists(path))
        Form8->replay(path);
}

void TForm2::copyViewToClipboard()
{
    QGuiApplication::clipboard()->setImage(loomscope1->grabFramebuffer());
    messages_.information(this, tr("图像已经保存在剪贴板里了，找个地方粘贴一下就行"));
}

QString TForm2::editorPath() const
{
    return Form4->editorPath();
}

std::string TForm2::manualPath() const
{
    return findManual(startedProgramFolder(pathBytes(QCoreApplication::applicationDirPath())),
                      pathBytes(programHome_));
}

void TForm2::openManual()
{
    const std::string manual = manualPath();
    const std::string failed = manual.empty() ? "it is not installed" : openWithDesktop(manual);
    if (!failed.empty())
        messages_.error(this, QString::fromStdString("The manual cannot be shown: " + failed));
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // The start panel covers the view wherever the view is (the window or the browser).
    if (watched == loomscope1 && event->type() == QEvent::Resize)
        startPanel_->setGeometry(loomscope1->rect());
    if (event->type() == QEvent::KeyPress) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this)
            return handleKey(watched, static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm2::handleKey(QObject* receiver, QKeyEvent* event)
{
    // Ctrl+O opens whatever has the focus (as a shortcut it normally never gets here).
    if (event->matches(QKeySequence::Open)) {
        actions_->open->trigger();
        return true;
    }
    // Before the first design, and while the browser is open, keys belong to the controls.
    if (!state_.hasDesign() || browserVisible())
        return false;
    // With no design shown, the list of recent designs is walked and chosen from the keyboard,
    // wherever the focus is; every other key still runs its command (previous and next go on
    // from a broken file).
    if (startPanel_->isVisible() && !startPanel_->recentList()->isHidden()) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (receiver != startPanel_->recentList()) {
                startPanel_->recentList()->setFocus();
                QCoreApplication::sendEvent(startPanel_->recentList(), event);
                return true;
            }
            return false;
        default:
            break;
        }
    }
    // The colour panel's text fields (find a code, the chart's name, a thread's name) are
    // typed into while a design is shown; that is what they are for.
    if (Panel5->takesTyping(receiver))
        return false;
    for (MainAction action : keyActions(mainKey(event), event->modifiers() & Qt::ShiftModifier))
        actions_->forKey(action)->trigger();
    return true;
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
}

void TForm2::viewerWheel(QPoint position, int delta, bool* handled)
{
    // Before the first design, and a sideways turn (no vertical part), are not zooms.
    if (!state_.hasDesign() || delta == 0)
        return;
    *handled = true;
    const int steps = wheel_.add(delta);
    if (!gunrect_.contains(static_cast<float>(position.x()), static_cast<float>(position.y())))
        return;
    for (int i = 0; i < std::abs(steps); ++i)
        loomscope1->Setscale(steps > 0 ? 1.2f : 0.8f);
}

void TForm2::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* event)
{
    // The list's own bytes: file names that are not UTF-8 survive only there.
    const QMimeData* dropped = event->mimeData();
    const QByteArray list = dropped->data(QStringLiteral("text/uri-list"));
    std::vector<std::string> files = localFilesOfUriList(list.toStdString());
    if (files.empty())
        for (const QUrl& url : dropped->urls())
            if (url.isLocalFile())
                files.push_back(pathBytes(url.toLocalFile()));
    if (files.empty())
        return;
    const std::string& path = files.front(); // only the first dropped file counts
    if (!fileExists(path) || !formatOfFileName(fileNamePart(path)))
        return;
    event->acceptProposedAction();
    openFromPath(path);
}

} // namespace loomscope
