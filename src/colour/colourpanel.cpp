#include "colourpanel.h"

#include "coloursequence.h"
#include "config/projectinfo.h"
#include "screencolourpick.h"
#include "session/mainstate.h"
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
                                            ColourPanel::tr("Embird色序文件(.edr) (*.edr *.EDR)"));
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

    ValueListEditor1 =
        new SwatchGrid({31, 67}, {tr("颜色"), tr("色号")}, SwatchGrid::RowNumbers::Hidden, this);
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

    label(tr("找色号："), this)->move(x, 4);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(x, 20, w, 21);
    connect(Edit1, &QLineEdit::textChanged, this, &ColourPanel::findCode);

    Button11 = new QPushButton(tr("配对"), this);
    Button11->setObjectName(QStringLiteral("Button11"));
    Button11->setToolTip(tr("Order the chart by closeness to the picked colour (1)"));
    Button11->setGeometry(x, 44, 40, 23);
    connect(Button11, &QPushButton::clicked, this, &ColourPanel::match);
    MatchOrderingBox = new QComboBox(this);
    MatchOrderingBox->setObjectName(QStringLiteral("MatchOrderingBox"));
    MatchOrderingBox->addItem(QStringLiteral("RGB"), static_cast<int>(MatchOrdering::Score));
    MatchOrderingBox->addItem(QStringLiteral("ΔE00"), static_cast<int>(MatchOrdering::Perceptual));
    MatchOrderingBox->setToolTip(
        tr("How 配对 measures closeness: RGB, the chart score of the program, or "
           "ΔE00, the CIEDE2000 difference people perceive"));
    MatchOrderingBox->setGeometry(x + 41, 44, w - 41, 23);

    label(tr("屏幕取色："), this)->move(x, 72);
    SpeedButton5 = new QToolButton(this);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setIcon(pickIcon());
    SpeedButton5->setToolTip(tr("Pick a colour from the screen"));
    SpeedButton5->setGeometry(x + w - 22, 69, 22, 22);
    connect(SpeedButton5, &QToolButton::clicked, this, &ColourPanel::pickFromScreen);

    CheckBox1 = new QCheckBox(tr("取色时隐藏"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(x, 93, w, 18);

    Panel10 = new ColourSwatch(QStringLiteral("1"), kSilver, ColourSwatch::Caption::Black, this);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setGeometry(x, 113, 49, 42);
    Panel10->setToolTip(tr("Picked colour: double-click puts it into the palette"));
    connect(Panel10, &ColourSwatch::doubleClicked, this, &ColourPanel::pickedColourToPalette);
    Panel11 = new ColourSwatch(QStringLiteral("2"), kLightGrey, ColourSwatch::Caption::Black, this);
    Panel11->setObjectName(QStringLiteral("Panel11"));
    Panel11->setGeometry(x + 49, 113, 48, 42);
    Panel11->setToolTip(tr("Chart colour"));

    Panel7 = new ColourSwatch(QStringLiteral("BG"), viewer_->backcolor(),
                              ColourSwatch::Caption::Complement, this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setGeometry(x, 157, w, 18);
    Panel7->setToolTip(tr("Background: double-click to choose its colour"));
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
    ToolButton29->setText(tr("保存lsc色序"));
    ToolButton29->setGeometry(2, 2, kToolButtonWidth, kToolBarHeight - 4);
    connect(ToolButton29, &QToolButton::clicked, this, &ColourPanel::saveSequence);
    ToolButton36 = new QToolButton(ToolBar2);
    ToolButton36->setObjectName(QStringLiteral("ToolButton36"));
    ToolButton36->setText(tr("载入edr色序"));
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

} // namespace loomscope
