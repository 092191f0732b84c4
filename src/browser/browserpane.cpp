#include "browserpane.h"

#include "designlistmodel.h"
#include "designlistview.h"
#include "desktopactions.h"
#include "drawing/programfonts.h"
#include "foldertreemodel.h"
#include "linedlabel.h"
#include "model/fileio.h"
#include "model/summarytext.h"
#include "priceoptionsgroup.h"
#include "pricereport.h"
#include "session/mainstate.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "thumbnailfiller.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace loomscope {

namespace {

constexpr int kLeftColumnWidth = 250;
constexpr int kTopRowHeight = 25;
constexpr int kPreviewHeight = 200;
constexpr int kSummaryHeight = 115;
constexpr int kSummaryLinePitch = 17; // six lines in the summary pane
// The token the design-search program expects on its command line.
constexpr const char* kDesignSearchToken = "{5C7A1E42-9B3D-4F60-A8E1-2D74C0B9F315}";

QFont listFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"),
                   QStringLiteral("DejaVu Sans")});
    f.setPixelSize(13);
    return f;
}

// The two view buttons' pictures: four tiles for large icons, lines for the report.
QIcon viewIcon(bool report)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 90, 140));
    if (report) {
        for (int y = 2; y < 16; y += 4) {
            p.drawRect(1, y, 3, 2);
            p.drawRect(6, y, 9, 2);
        }
    } else {
        for (int y : {1, 9})
            for (int x : {1, 9})
                p.drawRect(x, y, 6, 6);
    }
    return QIcon(pixmap);
}

QToolButton* toolButton(const char* name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLineEdit* totalField(const char* name, int width, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setFixedWidth(width);
    return e;
}

} // namespace

BrowserPane::BrowserPane(MainState& state, const QString& programHome, UserMessages& messages,
                         QWidget* parent)
    : QWidget(parent), state_(state), programHome_(programHome), messages_(messages),
      systemDesktop_(std::make_unique<SystemDesktop>()), desktop_(systemDesktop_.get()),
      model_(new DesignListModel(this)), filler_(new ThumbnailFiller(this)),
      folders_(new FolderTreeModel(this))
{
    setObjectName(QStringLiteral("RzGridPanel1"));
    setAutoFillBackground(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(0, kLeftColumnWidth);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    auto* folderStrip = new QWidget(this);
    folderStrip->setFixedSize(kLeftColumnWidth, kTopRowHeight);
    Label7 = new QLabel(tr("  文件目录："), folderStrip);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(0, 0, kLeftColumnWidth, kTopRowHeight);
    grid->addWidget(folderStrip, 0, 0);

    auto* toolStrip = new QWidget(this);
    toolStrip->setFixedHeight(kTopRowHeight);
    buildToolStrip(toolStrip);
    grid->addWidget(toolStrip, 0, 1);

    grid->addWidget(buildLeftColumn(), 1, 0);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    GroupBox1 = new PriceOptionsGroup(messages_, localeDecimalSeparator(), right);
    ListView1 = new DesignListView(model_, right);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->iconView()->setFont(listFont());
    ListView1->reportView()->setFont(listFont());
    rightLayout->addWidget(GroupBox1);
    rightLayout->addWidget(ListView1, 1);
    grid->addWidget(right, 1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* N1 = PopupMenu1->addAction(tr("定位文件"), this, &BrowserPane::locateFile);
    N1->setObjectName(QStringLiteral("N1"));
    PopupMenu1->addSeparator();
    QAction* N3 = PopupMenu1->addAction(tr("针数统计"), GroupBox1, &QWidget::show);
    N3->setObjectName(QStringLiteral("N3"));

    connect(ListView1, &DesignListView::rowSelected, this, &BrowserPane::rowSelected);
    connect(ListView1, &DesignListView::rowDoubleClicked, this, &BrowserPane::designActivated);
    connect(ListView1, &DesignListView::menuRequested, this, &BrowserPane::showContextMenu);
    connect(GroupBox1, &PriceOptionsGroup::reportRequested, this, &BrowserPane::saveReport);
    connect(filler_, &ThumbnailFiller::rowsReady, this,
            [this](std::vector<DesignRow>& rows) { model_->append(std::move(rows)); });
    connect(filler_, &ThumbnailFiller::progress, this, &BrowserPane::rowsArrived);
    connect(filler_, &ThumbnailFiller::finished, this, &BrowserPane::fillingFinished);
    connect(&state_, &MainState::designsChanged, this, &BrowserPane::designsChanged);
    hide();
}

BrowserPane::~BrowserPane() = default;

void BrowserPane::buildToolStrip(QWidget* strip)
{
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 0, 4, 0);
    row->setSpacing(4);
    SpeedButton2 = toolButton("SpeedButton2", strip);
    SpeedButton2->setIcon(viewIcon(false));
    SpeedButton2->setToolTip(tr("大图标"));
    SpeedButton3 = toolButton("SpeedButton3", strip);
    SpeedButton3->setIcon(viewIcon(true));
    SpeedButton3->setToolTip(tr("列表"));
    Edit2 = totalField("Edit2", 60, strip);
    Edit3 = totalField("Edit3", 90, strip);
    SpeedButton7 = toolButton("SpeedButton7", strip);
    SpeedButton7->setText(tr("针数统计"));
    Button1 = new QPushButton(tr("版带查找"), strip);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFocusPolicy(Qt::NoFocus);
    fillProgress = new QLabel(strip);
    fillProgress->setObjectName(QStringLiteral("fillProgress"));
    fillProgress->setMinimumWidth(90);
    SpeedButton1 = toolButton("SpeedButton1", strip);
    SpeedButton1->setText(tr("关闭"));

    row->addWidget(SpeedButton2);
    row->addWidget(SpeedButton3);
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("数量："), strip));
    row->addWidget(Edit2);
    row->addWidget(new QLabel(tr("总针数："), strip));
    row->addWidget(Edit3);
    row->addWidget(SpeedButton7);
    row->addWidget(Button1);
    row->addSpacing(8);
    row->addWidget(fillProgress);
    row->addStretch(1);
    row->addWidget(SpeedButton1);

    // The list is made after the strip: the buttons reach it when they are pressed.
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { ListView1->showLargeIcons(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { ListView1->showReport(); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { GroupBox1->show(); });
    connect(Button1, &QPushButton::clicked, this, &BrowserPane::startDesignSearch);
    connect(SpeedButton1, &QToolButton::clicked, this, &BrowserPane::closeRequested);
}

QWidget* BrowserPane::buildLeftColumn()
{
    auto* left = new QWidget(this);
    left->setFixedWidth(kLeftColumnWidth);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Folders only, whatever the bytes of their names; nothing in the tree can be renamed or
    // moved.
    RzShellTree1 = new QTreeView(left);
    RzShellTree1->setObjectName(QStringLiteral("RzShellTree1"));
    RzShellTree1->setModel(folders_);
    RzShellTree1->setHeaderHidden(true);
    RzShellTree1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RzShellTree1->setSelectionBehavior(QAbstractItemView::SelectRows);
    RzShellTree1->setSelectionMode(QAbstractItemView::SingleSelection);
    RzShellTree1->setAllColumnsShowFocus(true);
    connect(RzShellTree1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { folderChosen(index); });
    // A folder opened in the tree shows the folders it holds now (an archive unpacked since).
    connect(RzShellTree1, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        choosingInCode_ = true; // a selected folder that went must not open another one
        folders_->refresh(index);
        choosingInCode_ = false;
    });
    column->addWidget(RzShellTree1, 1);

    Panel4 = new QWidget(left);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(kPreviewHeight);
    auto* host = new QVBoxLayout(Panel4);
    host->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Panel4);

    Panel3 = new QWidget(left);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(kSummaryHeight);
    auto* summary = new QHBoxLayout(Panel3);
    summary->setContentsMargins(8, 4, 4, 4);
    Label1 = new LinedLabel(kSummaryLinePitch, Panel3);
    Label1->setText(
        QString::fromStdString(summaryCaptions()).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new LinedLabel(kSummaryLinePitch, Panel3);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* l : {Label1, Label2}) {
        l->setFont(listFont());
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QPalette teal = Label2->palette();
    teal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    Label2->setPalette(teal);
    summary->addWidget(Label1, 0, Qt::AlignTop);
    summary->addWidget(Label2, 1, Qt::AlignTop);
    column->addWidget(Panel3);
    return left;
}

QWidget* BrowserPane::previewHost() const
{
    return Panel4;
}

void BrowserPane::setDesktopActions(DesktopActions* desktop)
{
    desktop_ = desktop ? desktop : systemDesktop_.get();
}

bool BrowserPane::isFilling() const
{
    return filler_->isRunning();
}

void BrowserPane::setSummary(const QString& text)
{
    Label2->setText(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void BrowserPane::enter()
{
    const std::string folder = state_.currentFolder();
    if (folder.empty())
        return; // nothing opened yet: the user picks a folder in the tree
    selectFolderInTree(folder);
    entering_ = true;
    state_.changeFolder(folder);
    entering_ = false;
}

void BrowserPane::selectFolderInTree(const std::string& folder)
{
    choosingInCode_ = true;
    const QModelIndex index = folders_->indexOf(folder);
    if (!index.isValid()) {
        choosingInCode_ = false;
        return; // hidden, or gone: the list is still filled
    }
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        RzShellTree1->expand(p);
    RzShellTree1->setCurrentIndex(index);
    choosingInCode_ = false;
    // Into view once the view has laid out the rows it has just been given.
    RzShellTree1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    QTimer::singleShot(0, RzShellTree1, [this, index = QPersistentModelIndex(index)] {
        if (index.isValid())
            RzShellTree1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    });
}

void BrowserPane::folderChosen(const QModelIndex& index)
{
    if (choosingInCode_)
        return;
    const std::string path = folders_->pathOf(index);
    if (path.empty())
        return;
    state_.changeFolder(path);
}

void BrowserPane::designsChanged()
{
    filler_->cancel();
    fillProgress->hide();
    model_->clear();
    Edit2->setText(QString::number(state_.designs().size()));
    if (!state_.currentFolder().empty())
        Label7->setText(tr("文件目录: ") + displayPath(state_.currentFolder()));
    if (isVisible() || entering_) {
        // A design opened from elsewhere (the recent list, a drop, a second start) moves the
        // tree along with the list.
        if (isVisible() && !entering_ && !state_.currentFolder().empty() &&
            folders_->pathOf(RzShellTree1->currentIndex()) != state_.currentFolder())
            selectFolderInTree(state_.currentFolder());
        startFilling();
    } else {
        GroupBox1->setReportEnabled(true);
    }
}

void BrowserPane::startFilling()
{
    // The total of the folder before would be wrong for this one until the filling is done.
    Edit3->clear();
    GroupBox1->setReportEnabled(false);
    filler_->start(state_.currentFolder(), state_.designs(), localeDecimalSeparator());
}

void BrowserPane::rowsArrived(int done, int total)
{
    fillProgress->setText(QStringLiteral("%1 / %2").arg(done).arg(total));
    fillProgress->show();
}

void BrowserPane::fillingFinished(qint64 stitches)
{
    Edit3->setText(QString::number(stitches));
    fillProgress->hide();
    GroupBox1->setReportEnabled(true);
}

void BrowserPane::rowSelected(int row)
{
    if (row >= 0 && row < model_->rowCount())
        state_.openEntry(model_->row(row).entry);
}

void BrowserPane::showContextMenu(QPoint globalPosition)
{
    PopupMenu1->popup(globalPosition);
}

void BrowserPane::locateFile()
{
    const std::string path = state_.currentDesignPath();
    if (path.empty() || !fileExists(path))
        return;
    desktop_->showInFileManager(path);
}

void BrowserPane::startDesignSearch()
{
    const std::string program = pathBytes(programHome_) + "patfinder";
    if (!fileExists(program))
        return;
    if (const std::string failed = desktop_->startProgram(program, {kDesignSearchToken});
        !failed.empty())
        messages_.error(this, tr("Cannot start \"%1\": %2")
                                  .arg(displayPath(program), QString::fromStdString(failed)));
}

void BrowserPane::saveReport()
{
    PriceReportInput input;
    input.folder = pathDisplayText(state_.currentFolder());
    for (int i = 0; i < model_->rowCount(); ++i) {
        const DesignRow& r = model_->row(i);
        input.rows.push_back({r.name.toStdString(), r.millimetres.toStdString(),
                              r.info.Fstitchcount, r.error.toStdString()});
    }
    input.entries = state_.designs().size();
    input.totalStitches = Edit3->text().toStdString();
    const PriceReport report =
        buildPriceReport(input, GroupBox1->fields(), localeDecimalSeparator());
    if (!report.error.empty()) {
        messages_.error(this, QString::fromStdString(report.error));
        return;
    }
    const std::string path = pathBytes(programHome_) + "total.txt";
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(report.text.data()),
                          report.text.size());
    if (const std::string error = writeFileAtomically(path, bytes); !error.empty()) {
        messages_.error(this, tr("Cannot create file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(error)));
        return;
    }
    if (const std::string failed = desktop_->openFile(path); !failed.empty())
        messages_.information(this, QStringLiteral("\"%1\" was written, but no program to show it "
                                                   "could be started: %2")
                                        .arg(displayPath(path), QString::fromStdString(failed)));
}

} // namespace loomscope
