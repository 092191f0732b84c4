#include "fabricpreviewbox.h"

#include <QPainter>

namespace loomscope {

FabricPreviewBox::FabricPreviewBox(QWidget* parent) : QWidget(parent) {}

void FabricPreviewBox::setTile(const QImage& tile, bool on)
{
    tile_ = tile;
    on_ = on;
    update();
}

void FabricPreviewBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (on_ && !tile_.isNull())
        p.drawTiledPixmap(rect(), QPixmap::fromImage(tile_), QPoint(0, 0));
    else
        p.fillRect(rect(), palette().color(QPalette::Window));
}

} // namespace loomscope
