#include "colourpanel.h"

#include "coloursequence.h"
#include "config/projectinfo.h"
#include "model/colorsequencefile.h"
#include "model/embirdcolors.h"
#include "model/fileio.h"
#include "screencolourpick.h"
#include "session/mainstate.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "swatchgrid.h"
#include "viewer/tloomscope.h"
#include "widgets/colourswatch.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace loomscope {

namespace {

constexpr int kTopHeight = 177;
constexpr int kToolBarHeight = 26;
constexpr int kToolButtonWidth = 76;
constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kLightGrey = 15658734;
// Embird files hold four bytes a colour; anything this large is not one.
constexpr std::size_t kMaxEmbirdBytes = std::size_t{64} << 20;

// A pipette over a crosshair: the screen-pick button.
QIcon pickIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawLine(QPointF(6, 0), QPointF(6, 4));
    p.drawLine(QPointF(6, 8), QPointF(6, 12));
    p.drawLine(QPointF(0, 6), QPointF(4, 6));
    p.drawLine(QPointF(8, 6), QPointF(12, 6));
    p.setPen(QPen(QColor(40, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
    return QIcon(picture);
}

ColourPanelDialogs defaultDialogs()
{
    ColourPanelDialogs dialogs;
    dialogs.confirm = [](QWidget* parent, const QString& question) {
        return QMessageBox::question(parent, QLatin1String(kApplicationTitle), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs.chooseColour = [](QWidget* parent, TColor initial) -> std::optional<TColor> {
        const QColor chosen = QColorDialog::getColor(
            QColor(redOf(initial), greenOf(initial), blueOf(initial)), parent);
        if (!chosen.isValid())
            return std::nullopt;
        return rgb(chosen.red(), chosen.green(), chosen.blue());
    };
    dialogs.chooseEmbirdFile = [](QWidget* parent, const QString& folder) {
        return QFileDialog::getOpenFileName(parent, QString(), folder,
                                            QStringLiteral("Embird色序文件(.edr) (*.edr *.EDR)"));
    };
    return dialogs;
}

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->adjustSize();
    return l;
}

} // namespace

ColourPanel::ColourPanel(Tloomscope* viewer, MainState& state, const QString& programHome,
                         UserMessages& messages, QWidget* parent)
    : QWidget(parent), viewer_(viewer), state_(state), programHome_(programHome),
      messages_(messages), dialogs_(defaultDialogs())
{
    setObjectName(QStringLiteral("Panel5"));
    setAutoFillBackground(true);
    QWidget::setVisible(false);
    buildControls();
    pick_ = new ScreenColourPick(this, messages_, this);
    connect(pick_, &ScreenColourPick::picked, Panel10, &ColourSwatch::setColour);
    connect(viewer_, &Tloomscope::designLoaded, this, &ColourPanel::designLoaded);
    resize(kWidth, 600);
}

ColourPanel::~ColourPanel() = default;

void ColourPanel::buildControls()
{
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(2, 2, 103, 22);
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!listingCharts_)
            loadChart(text);
    });

    ValueListEditor1 = new SwatchGrid({31, 67}, {QStringLiteral("颜色"), QStringLiteral("色号")},
                                      SwatchGrid::RowNumbers::Hidden, this);
    ValueListEditor1->setObjectName(QStringLiteral("ValueListEditor1"));
    ValueListEditor1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int chartWidth = ValueListEditor1->columnsWidth() + scrollBar;
    ValueListEditor1->setGeometry(2, 26, chartWidth, kTopHeight - 28);
    connect(ValueListEditor1, &QTableWidget::currentCellChanged, this,
            &ColourPanel::chartRowChosen);
    connect(ValueListEditor1, &SwatchGrid::gridDoubleClicked, this,
            &ColourPanel::chartRowDoubleClicked);

    // The column beside the chart.
    const int x = 2 + chartWidth + 2;
    const int w = kWidth - x - 1;

    SpeedButton4 = new QToolButton(this);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setText(QStringLiteral("X"));
    SpeedButton4->setAutoRaise(true);
    SpeedButton4->setGeometry(kWidth - 19, 1, 18, 18);
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { setVisible(false); });

    label(QStringLiteral("找色号："), this)->move(x, 4);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(x, 20, w, 21);
    connect(Edit1, &QLineEdit::textChanged, this, &ColourPanel::findCode);

    Button11 = new QPushButton(QStringLiteral("配对"), this);
    Button11->setObjectName(QStringLiteral("Button11"));
    Button11->setToolTip(QStringLiteral("Order the chart by closeness to the picked colour (1)"));
    Button11->setGeometry(x, 44, 40, 23);
    connect(Button11, &QPushButton::clicked, this, &ColourPanel::match);
    MatchOrderingBox = new QComboBox(this);
    MatchOrderingBox->setObjectName(QStringLiteral("MatchOrderingBox"));
    MatchOrderingBox->addItem(QStringLiteral("RGB"), static_cast<int>(MatchOrdering::Score));
    MatchOrderingBox->addItem(QStringLiteral("ΔE00"), static_cast<int>(MatchOrdering::Perceptual));
    MatchOrderingBox->setToolTip(
        QStringLiteral("How 配对 measures closeness: RGB, the chart score of the program, or "
                       "ΔE00, the CIEDE2000 difference people perceive"));
    MatchOrderingBox->setGeometry(x + 41, 44, w - 41, 23);

    label(QStringLiteral("屏幕取色："), this)->move(x, 72);
    SpeedButton5 = new QToolButton(this);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setIcon(pickIcon());
    SpeedButton5->setToolTip(QStringLiteral("Pick a colour from the screen"));
    SpeedButton5->setGeometry(x + w - 22, 69, 22, 22);
    connect(SpeedButton5, &QToolButton::clicked, this, &ColourPanel::pickFromScreen);

    CheckBox1 = new QCheckBox(QStringLiteral("取色时隐藏"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(x, 93, w, 18);

    Panel10 = new ColourSwatch(QStringLiteral("1"), kSilver, ColourSwatch::Caption::Black, this);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setGeometry(x, 113, 49, 42);
    Panel10->setToolTip(QStringLiteral("Picked colour: double-click puts it into the palette"));
    connect(Panel10, &ColourSwatch::doubleClicked, this, &ColourPanel::pickedColourToPalette);
    Panel11 = new ColourSwatch(QStringLiteral("2"), kLightGrey, ColourSwatch::Caption::Black, this);
    Panel11->setObjectName(QStringLiteral("Panel11"));
    Panel11->setGeometry(x + 49, 113, 48, 42);
    Panel11->setToolTip(QStringLiteral("Chart colour"));

    Panel7 = new ColourSwatch(QStringLiteral("BG"), viewer_->backcolor(),
                              ColourSwatch::Caption::Complement, this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setGeometry(x, 157, w, 18);
    Panel7->setToolTip(QStringLiteral("Background: double-click to choose its colour"));
    connect(Panel7, &ColourSwatch::doubleClicked, this, &ColourPanel::chooseBackground);

    StringGrid2 = new SwatchGrid({25, 57, 33}, {}, SwatchGrid::RowNumbers::Shown, this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid2->setGridRowCount(1);

    StringGrid1 = new SwatchGrid({25, 37}, {}, SwatchGrid::RowNumbers::Shown, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setTextEditable(true);
    StringGrid1->setGridRowCount(kPaletteEntries + 1);
    for (int row = 1; row <= kPaletteEntries; ++row)
        StringGrid1->setSwatch(row, kBlankSwatchColour, QString());
    // As in any string grid, the first row is current until the user picks another.
    StringGrid1->selectGridRow(1);
    connect(StringGrid1, &SwatchGrid::gridDoubleClicked, this, &ColourPanel::paletteDoubleClicked);
    connect(StringGrid1, &SwatchGrid::rightButtonReleased, this,
            &ColourPanel::paletteRightReleased);

    ToolBar2 = new QWidget(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolButton29 = new QToolButton(ToolBar2);
    ToolButton29->setObjectName(QStringLiteral("ToolButton29"));
    ToolButton29->setText(QStringLiteral("保存lsc色序"));
    ToolButton29->setGeometry(2, 2, kToolButtonWidth, kToolBarHeight - 4);
    connect(ToolButton29, &QToolButton::clicked, this, &ColourPanel::saveSequence);
    ToolButton36 = new QToolButton(ToolBar2);
    ToolButton36->setObjectName(QStringLiteral("ToolButton36"));
    ToolButton36->setText(QStringLiteral("载入edr色序"));
    ToolButton36->setGeometry(2 + kToolButtonWidth + 2, 2, kToolButtonWidth, kToolBarHeight - 4);
    connect(ToolButton36, &QToolButton::clicked, this, &ColourPanel::loadEmbirdColours);
}

void ColourPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutGrids();
}

void ColourPanel::layoutGrids()
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int gridsHeight = std::max(height() - kTopHeight - kToolBarHeight, 0);
    const int sequenceWidth = StringGrid2->columnsWidth() + scrollBar;
    StringGrid2->setGeometry(2, kTopHeight, sequenceWidth, gridsHeight);

    // The palette has no scroll bar while all its rows fit; in a short window one lets the
    // last rows be reached.
    const int paletteHeight =
        StringGrid1->horizontalHeader()->height() +
        kPaletteEntries * StringGrid1->verticalHeader()->defaultSectionSize() +
        2 * StringGrid1->frameWidth();
    const bool fits = gridsHeight >= paletteHeight;
    StringGrid1->setVerticalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    StringGrid1->setGeometry(2 + sequenceWidth + 2, kTopHeight,
                             StringGrid1->columnsWidth() + (fits ? 0 : scrollBar),
                             std::min(gridsHeight, paletteHeight));
    ToolBar2->setGeometry(0, height() - kToolBarHeight, width(), kToolBarHeight);
}

void ColourPanel::setDialogs(ColourPanelDialogs dialogs)
{
    const ColourPanelDialogs defaults = defaultDialogs();
    dialogs_ = std::move(dialogs);
    if (!dialogs_.confirm)
        dialogs_.confirm = defaults.confirm;
    if (!dialogs_.chooseColour)
        dialogs_.chooseColour = defaults.chooseColour;
    if (!dialogs_.chooseEmbirdFile)
        dialogs_.chooseEmbirdFile = defaults.chooseEmbirdFile;
}

bool ColourPanel::takesTyping(const QObject* receiver) const
{
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || !isAncestorOf(widget))
        return false;
    // The line edits: the find field, the chart box's editor and a palette name being edited.
    if (qobject_cast<const QLineEdit*>(widget) || widget == ComboBox1)
        return true;
    return widget == StringGrid1 || widget == StringGrid1->viewport();
}

void ColourPanel::setVisible(bool visible)
{
    const bool wasShown = !isHidden();
    QWidget::setVisible(visible);
    if (wasShown != !isHidden())
        emit visibilityChanged(!isHidden());
}

void ColourPanel::open()
{
    setVisible(true);
    raise();
    Panel7->setColour(viewer_->backcolor());
    // Opened again on the design it shows, the panel keeps the colours given to its steps.
    if (stale_)
        fillFromDesign();
    listCharts();
}

void ColourPanel::selectSequenceRow(int row)
{
    StringGrid2->selectGridRow(row);
}

void ColourPanel::designLoaded()
{
    stale_ = true;
    if (!isHidden())
        fillFromDesign();
}

std::vector<TColor> ColourPanel::viewerColourTable() const
{
    std::vector<TColor> table(
        static_cast<std::size_t>(std::max(viewer_->dstinfo().Fcolorcount, 0)));
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = viewer_->readcolorlist(static_cast<int>(i));
    return table;
}

void ColourPanel::fillFromDesign()
{
    const ColourGrids grids = loomscope::fillFromDesign(viewer_->dstfile(), viewerColourTable());
    StringGrid2->setUpdatesEnabled(false);
    StringGrid2->setGridRowCount(static_cast<int>(grids.steps.size()) + 1);
    for (std::size_t i = 0; i < grids.steps.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        StringGrid2->setSwatch(row, grids.steps[i].colour,
                               QString::fromStdString(grids.steps[i].name));
        StringGrid2->setCell(2, row, QString());
    }
    StringGrid2->setUpdatesEnabled(true);
    for (std::size_t i = 0; i < grids.palette.size(); ++i)
        StringGrid1->setSwatch(static_cast<int>(i) + 1, grids.palette[i].colour,
                               QString::fromStdString(grids.palette[i].name));
    stale_ = false;
}

void ColourPanel::setSequenceRow(int row, TColor colour, const QString& name)
{
    StringGrid2->setSwatch(row, colour, name);
}

void ColourPanel::rebuildPalette()
{
    std::vector<Swatch> steps;
    for (int row = 1; row < StringGrid2->gridRowCount(); ++row)
        if (const auto colour = StringGrid2->swatchColour(row))
            steps.push_back({*colour, {}});
    const std::vector<Swatch> palette = paletteFromSteps(steps);
    for (std::size_t i = 0; i < palette.size(); ++i)
        StringGrid1->setSwatch(static_cast<int>(i) + 1, palette[i].colour, QString());
}

// --- thread charts ---------------------------------------------------------------------------

void ColourPanel::listCharts()
{
    // The chart chosen (or the name typed) before stays: it is the colour card the side file
    // gets.
    const QString previous = ComboBox1->currentText();
    listingCharts_ = true;
    ComboBox1->clear();
    for (const ChartFile& chart : listThreadCharts(pathBytes(programHome_)))
        ComboBox1->addItem(displayPath(chart.name), QByteArray::fromStdString(chart.path));
    const int kept = previous.isEmpty() ? -1 : ComboBox1->findText(previous);
    if (kept >= 0 || (previous.isEmpty() && ComboBox1->count() > 0))
        ComboBox1->setCurrentIndex(std::max(kept, 0));
    else
        ComboBox1->setEditText(previous); // a card name typed by the user, not a chart's
    listingCharts_ = false;
    if (ComboBox1->count() > 0)
        loadChart(ComboBox1->currentText());
}

void ColourPanel::loadChart(const QString& name)
{
    std::string path;
    const int listed = ComboBox1->findText(name);
    if (listed >= 0)
        path = ComboBox1->itemData(listed).toByteArray().toStdString();
    if (path.empty())
        path = findThreadChart(pathBytes(programHome_), pathBytes(name));
    if (path.empty())
        return; // not (yet) the name of a chart: the chart shown stays
    const ThreadChart loaded = loadThreadChart(path);
    threadlistex = loaded.entries;
    showChart(threadlistex);
    if (loaded.error.empty())
        return;
    if (loaded.errorLine > 0)
        messages_.error(this, QStringLiteral("%1\n\nThread chart \"%2\", line %3.")
                                  .arg(QString::fromStdString(loaded.error), displayPath(path))
                                  .arg(loaded.errorLine));
    else
        messages_.error(this, QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(loaded.error)));
}

void ColourPanel::showChart(const std::vector<ChartEntry>& entries)
{
    // Filling the list is no choice of a row: the chart swatch stays as it is.
    const QSignalBlocker blocker(ValueListEditor1);
    ValueListEditor1->setUpdatesEnabled(false);
    ValueListEditor1->setCurrentCell(-1, -1);
    ValueListEditor1->setGridRowCount(static_cast<int>(entries.size()) + 1);
    for (std::size_t i = 0; i < entries.size(); ++i)
        ValueListEditor1->setSwatch(static_cast<int>(i) + 1, entries[i].colour,
                                    QString::fromStdString(entries[i].code));
    ValueListEditor1->scrollToTop();
    ValueListEditor1->setUpdatesEnabled(true);
}

void ColourPanel::findCode()
{
    showChart(loomscope::findCode(threadlistex, Edit1->text().toUpper().toStdString()));
}

void ColourPanel::match()
{
    if (threadlistex.empty())
        return;
    const auto ordering = static_cast<MatchOrdering>(MatchOrderingBox->currentData().toInt());
    const std::vector<ChartEntry> ordered = matchOrder(threadlistex, Panel10->colour(), ordering);
    showChart(ordered);
    Panel11->setColour(ordered.front().colour);
}

void ColourPanel::chartRowChosen()
{
    const int row = ValueListEditor1->currentGridRow();
    if (row < 1)
        return;
    if (const auto colour = ValueListEditor1->swatchColour(row))
        Panel11->setColour(*colour);
}

void ColourPanel::chartRowDoubleClicked()
{
    const int chartRow = ValueListEditor1->currentGridRow();
    const int paletteRow = StringGrid1->currentGridRow();
    if (chartRow < 1 || paletteRow < 1)
        return;
    if (const auto colour = ValueListEditor1->swatchColour(chartRow))
        StringGrid1->setSwatch(paletteRow, *colour, ValueListEditor1->cell(1, chartRow));
}

// --- palette and sequence --------------------------------------------------------------------

void ColourPanel::paletteDoubleClicked()
{
    const int step = StringGrid2->currentGridRow();
    const int entry = StringGrid1->currentGridRow();
    if (step < 1 || entry < 1)
        return;
    const auto colour = StringGrid1->swatchColour(entry);
    if (!colour)
        return;
    setSequenceRow(step, *colour, StringGrid1->cell(1, entry));
    viewer_->setcolorlist(step - 1, *colour);
}

void ColourPanel::paletteRightReleased()
{
    const int entry = StringGrid1->currentGridRow();
    if (entry < 1)
        return;
    const auto chosen =
        dialogs_.chooseColour(this, StringGrid1->swatchColour(entry).value_or(kBlankSwatchColour));
    if (chosen)
        StringGrid1->setCell(0, entry, QString::number(*chosen));
}

void ColourPanel::pickedColourToPalette()
{
    const int entry = StringGrid1->currentGridRow();
    if (entry >= 1)
        StringGrid1->setCell(0, entry, QString::number(Panel10->colour()));
}

void ColourPanel::chooseBackground()
{
    const auto chosen = dialogs_.chooseColour(this, Panel7->colour());
    if (!chosen)
        return;
    Panel7->setColour(*chosen);
    viewer_->Setbackcolor(*chosen);
}

void ColourPanel::pickFromScreen()
{
    pick_->start(CheckBox1->isChecked());
}

// --- files -----------------------------------------------------------------------------------

void ColourPanel::saveSequence()
{
    if (!state_.hasDesign() || viewer_->dstinfo().Fcolorcount <= 0) {
        messages_.information(this, QStringLiteral("No design is shown: there is no colour "
                                                   "sequence to save."));
        return;
    }
    const std::string design = state_.currentDesignPath();
    const std::string path = sideFileForWriting(design);
    if (fileExists(path) &&
        !dialogs_.confirm(this, QStringLiteral("文件对应的色序文件已存在，是否替换？")))
        return;
    // The question ran an event loop of its own: what is written is read only now, all of it
    // from the design that is shown now, and only when that is still the design asked about.
    if (state_.currentDesignPath() != design) {
        messages_.information(this, QStringLiteral("Another design was opened meanwhile: the "
                                                   "colour sequence was not saved."));
        return;
    }
    const int count = viewer_->dstinfo().Fcolorcount;
    std::vector<TColor> colours;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        colours.push_back(viewer_->readcolorlist(i));
        names.push_back(StringGrid2->cell(1, i + 1).toStdString());
    }
    const std::string error = writecolorfile(
        path, cardNameForSave(ComboBox1->currentText().toStdString()), colours, names);
    if (!error.empty()) {
        messages_.error(this, QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(error)));
        return;
    }
    messages_.information(
        this, QStringLiteral("色序文件已经保存在DST文档同一文件夹下，重新载入DST档便可"));
}

void ColourPanel::loadEmbirdColours()
{
    const QString chosen = dialogs_.chooseEmbirdFile(
        this, QFile::decodeName(QByteArray::fromStdString(state_.currentFolder())));
    if (chosen.isEmpty())
        return;
    // A name from a Chinese Windows archive is not text: the dialog shows it with marks, and
    // the file it stands for is found by how it shows.
    std::string path = existingPathBytes(chosen);
    if (path.empty())
        path = pathBytes(chosen);
    const FileBytes file = readWholeFile(path, kMaxEmbirdBytes);
    if (!file.error.empty()) {
        messages_.error(this, QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(file.error)));
        return;
    }
    if (stale_)
        fillFromDesign();
    const int count = viewer_->dstinfo().Fcolorcount;
    const EmbirdSteps steps = embirdSteps(parseEmbirdColors(file.bytes), count);
    for (std::size_t i = 0; i < steps.colours.size(); ++i) {
        const int index = static_cast<int>(i);
        viewer_->setcolorlist(index, steps.colours[i]);
        viewer_->recolourBlocks(index, steps.colours[i]);
        setSequenceRow(index + 1, steps.colours[i], QString());
    }
    // The missing entry ends the operation, as a failed read does: the palette is rebuilt
    // only after a whole file.
    if (!steps.complete) {
        messages_.error(this, QStringLiteral("Stream read error\n\n\"%1\" holds %2 colours; the "
                                             "design has %3.")
                                  .arg(displayPath(path))
                                  .arg(steps.colours.size())
                                  .arg(embirdStepCount(count)));
        return;
    }
    rebuildPalette();
}

} // namespace loomscope
