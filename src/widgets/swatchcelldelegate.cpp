#include "swatchcelldelegate.h"

#include <QPainter>

namespace loomscope {

void SwatchCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QVariant background = index.data(Qt::BackgroundRole);
    if (!background.canConvert<QBrush>()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->fillRect(option.rect, background.value<QBrush>());
    if (option.state & QStyle::State_Selected) {
        QPen frame(option.palette.color(QPalette::Highlight));
        frame.setWidth(2);
        frame.setJoinStyle(Qt::MiterJoin);
        painter->setPen(frame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

} // namespace loomscope
