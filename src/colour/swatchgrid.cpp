#include "swatchgrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace loomscope {

namespace {

constexpr int kRowHeight = 16;

QColor toQColor(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// Paints the first column: the row's colour over the whole cell and, where asked, the row
// number in the complementary colour so that it reads on any swatch.
class SwatchDelegate : public QStyledItemDelegate {
public:
    SwatchDelegate(bool numbers, QObject* parent) : QStyledItemDelegate(parent), numbers_(numbers)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (index.column() != 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        bool ok = false;
        const uint value = index.data().toString().toUInt(&ok);
        if (!ok)
            return;
        const TColor colour = value & 0xFFFFFFu;
        painter->save();
        painter->fillRect(option.rect, toQColor(colour));
        if (numbers_) {
            painter->setPen(toQColor(complementOf(colour)));
            painter->setFont(option.font);
            painter->drawText(option.rect.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                              QStringLiteral(" %1 ").arg(index.row() + 1));
        }
        painter->restore();
    }

private:
    bool numbers_;
};

} // namespace

SwatchGrid::SwatchGrid(const QList<int>& columnWidths, const QStringList& titles,
                       RowNumbers numbers, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columnWidths.size()), parent), widths_(columnWidths)
{
    setItemDelegate(new SwatchDelegate(numbers == RowNumbers::Shown, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* top = horizontalHeader();
    top->setMinimumSectionSize(1);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setStretchLastSection(false);
    top->setHighlightSections(false);
    top->setSectionsClickable(false);
    top->setFixedHeight(kRowHeight + 2);
    QStringList labels = titles;
    while (labels.size() < columnWidths.size())
        labels << QString();
    setHorizontalHeaderLabels(labels);
    for (int c = 0; c < columnWidths.size(); ++c)
        setColumnWidth(c, columnWidths[c]);
}

void SwatchGrid::setTextEditable(bool editable)
{
    editableText_ = editable;
    setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 1; c < columnCount(); ++c)
            if (QTableWidgetItem* it = item(r, c))
                it->setFlags(editable ? it->flags() | Qt::ItemIsEditable
                                      : it->flags() & ~Qt::ItemIsEditable);
}

void SwatchGrid::setGridRowCount(int rows)
{
    const int before = rowCount();
    setRowCount(std::max(rows - 1, 0));
    for (int r = before; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            itemAt(c, r + 1, true);
}

int SwatchGrid::currentGridRow() const
{
    return currentRow() < 0 ? 0 : currentRow() + 1;
}

void SwatchGrid::selectGridRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    setCurrentCell(row - 1, std::max(currentColumn(), 0));
    scrollToItem(item(row - 1, 0));
}

QTableWidgetItem* SwatchGrid::itemAt(int column, int row, bool create)
{
    if (row < 1 || row > rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    QTableWidgetItem* it = item(row - 1, column);
    if (!it && create) {
        it = new QTableWidgetItem;
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column > 0 && editableText_)
            flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        setItem(row - 1, column, it);
    }
    return it;
}

QString SwatchGrid::cell(int column, int row) const
{
    const QTableWidgetItem* it = row >= 1 && row <= rowCount() ? item(row - 1, column) : nullptr;
    return it ? it->text() : QString();
}

void SwatchGrid::setCell(int column, int row, const QString& text)
{
    if (QTableWidgetItem* it = itemAt(column, row, true))
        it->setText(text);
}

std::optional<TColor> SwatchGrid::swatchColour(int row) const
{
    bool ok = false;
    const uint value = cell(0, row).toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return value & 0xFFFFFFu;
}

void SwatchGrid::setSwatch(int row, TColor colour, const QString& name)
{
    setCell(0, row, QString::number(colour));
    setCell(1, row, name);
}

int SwatchGrid::columnsWidth() const
{
    int width = 2 * frameWidth();
    for (int w : widths_)
        width += w;
    return width;
}

void SwatchGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

void SwatchGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightButtonReleased();
}

} // namespace loomscope
