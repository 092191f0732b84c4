#include "tform6.h"

#include "config/configstore.h"
#include "drawing/pictureconvert.h"
#include "fabriccolours.h"
#include "fabricfolder.h"
#include "fabricpreview.h"
#include "fabricpreviewbox.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "settingsconfig.h"
#include "viewer/tloomscope.h"
#include "widgets/enterinert.h"
#include "widgets/swatchcelldelegate.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace loomscope {

namespace {
QColor toQColor(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
} // namespace

TForm6::TForm6(ConfigStore& config, const QString& programHome, Tloomscope* viewer,
               UserMessages& messages, QWidget* parent)
    : QDialog(parent), config_(config), programHome_(programHome), viewer_(viewer),
      messages_(messages), fabricColour_(fabricRowColour(fabricColourRows()[0]))
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("布底"));
    setFixedSize(628, 441);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setSpacing(0);

    ValueListEditor1 = new QTableWidget(kFabricColourRows, 2, this);
    ValueListEditor1->setObjectName(QStringLiteral("ValueListEditor1"));
    ValueListEditor1->setFixedWidth(137);
    ValueListEditor1->setHorizontalHeaderLabels({tr("Colors"), tr("Fabrics")});
    ValueListEditor1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ValueListEditor1->setColumnWidth(0, 51);
    ValueListEditor1->setColumnWidth(1, 63);
    ValueListEditor1->verticalHeader()->hide();
    ValueListEditor1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ValueListEditor1->verticalHeader()->setDefaultSectionSize(20);
    ValueListEditor1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ValueListEditor1->setSelectionMode(QAbstractItemView::SingleSelection);
    ValueListEditor1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ValueListEditor1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ValueListEditor1->setItemDelegateForColumn(0, new SwatchCellDelegate(ValueListEditor1));
    for (int i = 0; i < kFabricColourRows; ++i) {
        const FabricColourRow& row = fabricColourRows()[std::size_t(i)];
        const TColor colour = fabricRowColour(row);
        // The key cell is painted in its colour; the key itself is its tooltip, as six digits
        // do not fit the narrow column.
        auto* key = new QTableWidgetItem;
        key->setData(Qt::UserRole, QString::fromLatin1(row.key));
        key->setToolTip(QString::fromLatin1(row.key));
        key->setBackground(toQColor(colour));
        ValueListEditor1->setItem(i, 0, key);
        ValueListEditor1->setItem(i, 1, new QTableWidgetItem(QString::fromLatin1(row.code)));
    }
    top->addWidget(ValueListEditor1);

    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFixedWidth(208);
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(128, 128));
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setSpacing(4);
    top->addWidget(ListView1);

    PaintBox1 = new FabricPreviewBox(this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    top->addWidget(PaintBox1, 1);
    page->addLayout(top, 1);

    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(37);
    auto* row = new QHBoxLayout(bottom);
    row->setContentsMargins(8, 4, 8, 4);
    CheckBox1 = new QCheckBox(tr("显示布底"), bottom);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button2 = new QPushButton(tr("保存设置"), bottom);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(tr("确定"), bottom);
    Button1->setObjectName(QStringLiteral("Button1"));
    row->addWidget(CheckBox1);
    row->addStretch();
    row->addWidget(Button2);
    row->addWidget(Button1);
    page->addWidget(bottom);

    connect(ListView1, &QListWidget::currentRowChanged, this, &TForm6::selectPicture);
    connect(ValueListEditor1, &QTableWidget::currentCellChanged, this,
            [this](int r) { selectColourRow(r + 1); });
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm6::rebuildPreview);
    connect(Button2, &QPushButton::clicked, this, &TForm6::saveChoice);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    makeEnterInert(*this);
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (const QScreen* shownOn = screen())
        move(shownOn->availableGeometry().center() - rect().center());
    loadFabrics();
}

void TForm6::loadFabrics()
{
    const std::string home = pathBytes(programHome_);
    if (!fabricFolderExists(home))
        return;
    ListView1->blockSignals(true);
    ListView1->clear();
    ImageList1.clear();
    names_.clear();
    ListView1->blockSignals(false);
    for (const FabricPicture& fabric : listFabrics(home)) {
        QImageReader reader(QFile::decodeName(QByteArray::fromStdString(fabric.path)));
        const QImage picture = reader.read();
        if (picture.isNull()) {
            // The pictures read so far stay listed.
            messages_.error(
                this,
                tr("无法读取布底图片 %1：%2").arg(displayPath(fabric.path), reader.errorString()));
            break;
        }
        const QImage tile = toQImage(fabricListPicture(toRgbPicture(picture)));
        ImageList1.push_back(tile);
        names_.push_back(fabric.name);
        ListView1->blockSignals(true);
        ListView1->addItem(
            new QListWidgetItem(QIcon(QPixmap::fromImage(tile)), displayPath(fabric.name)));
        ListView1->blockSignals(false);
        // A folder of many pictures must not freeze the window.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (!ImageList1.empty()) {
        selectedPicture_ = std::clamp(selectedPicture_, 0, int(ImageList1.size()) - 1);
        ListView1->blockSignals(true);
        ListView1->setCurrentRow(selectedPicture_);
        ListView1->blockSignals(false);
    }
    ValueListEditor1->blockSignals(true);
    ValueListEditor1->setCurrentCell(selectedRow_ - 1, 0);
    ValueListEditor1->blockSignals(false);
    updatePreviewTile();
}

void TForm6::selectPicture(int index)
{
    if (index < 0 || index >= int(ImageList1.size()))
        return;
    selectedPicture_ = index;
    rebuildPreview();
}

void TForm6::selectColourRow(int row)
{
    if (row < 1 || row > kFabricColourRows)
        return;
    selectedRow_ = row;
    fabricColour_ = fabricRowColour(fabricColourRows()[std::size_t(row - 1)]);
    rebuildPreview();
}

void TForm6::updatePreviewTile()
{
    if (ImageList1.empty()) {
        preview_ = QImage();
    } else {
        const QImage& picture = ImageList1[std::size_t(selectedPicture_)];
        preview_ = toQImage(fabricPreview(toRgbPicture(picture), fabricColour_));
    }
    PaintBox1->setTile(preview_, CheckBox1->isChecked());
}

void TForm6::rebuildPreview()
{
    // The viewer tints its own copy of the untinted picture.
    if (viewer_) {
        if (!ImageList1.empty())
            viewer_->setbackground(CheckBox1->isChecked(), fabricColour_,
                                   ImageList1[std::size_t(selectedPicture_)]);
        else if (!CheckBox1->isChecked())
            viewer_->setbackground(false, fabricColour_, QImage());
    }
    updatePreviewTile();
}

bool TForm6::saveChoice()
{
    std::optional<std::string> name;
    if (selectedPicture_ >= 0 && selectedPicture_ < int(names_.size()))
        name = names_[std::size_t(selectedPicture_)];
    const std::string failed = changeConfigFile(
        config_, [&](IniFile& ini) { writeFabricChoice(ini, name, fabricColour_); });
    if (!failed.empty())
        messages_.error(this, QString::fromStdString(failed));
    return failed.empty();
}

} // namespace loomscope
