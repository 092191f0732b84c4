#pragma once

#include <QStyledItemDelegate>

namespace loomscope {

// Paints a cell that stands for a colour (its background) in that colour whether or not it is
// selected: a selected swatch keeps its colour and shows the selection as a frame around it,
// so the user still sees which colour the chosen row is.
class SwatchCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace loomscope
