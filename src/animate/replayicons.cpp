#include "replayicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace loomscope {

namespace {

const QColor kGreen(0, 150, 40);
const QColor kDisabled(150, 150, 150);

void drawSymbol(QPainter& p, ReplayIcon which, const QColor& ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (which) {
    case ReplayIcon::Play:
        p.drawPolygon(QPolygonF({{4.5, 2.5}, {14.5, 8.5}, {4.5, 14.5}}));
        break;
    case ReplayIcon::Pause:
        p.drawRect(QRectF(4, 3, 3.5, 11));
        p.drawRect(QRectF(9.5, 3, 3.5, 11));
        break;
    case ReplayIcon::Stop:
        p.drawRect(QRectF(4, 4, 9, 9));
        break;
    case ReplayIcon::Restart: {
        // A ring open at the upper right whose end carries the head back towards its start.
        // It stays within the middle 20 rows: the button is only 22 pixels high.
        const QPointF centre(13.5, 13.5);
        const qreal radius = 6.5;
        const qreal start = 60;  // degrees, counter-clockwise from three o'clock
        const qreal sweep = 280; // leaves a gap for the head
        QPainterPath ring;
        const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        ring.arcMoveTo(box, start);
        ring.arcTo(box, start, sweep);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(ring);
        // The head points along the ring where it ends.
        const qreal end = (start + sweep) * std::numbers::pi / 180;
        const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
        const QPointF along(-std::sin(end), -std::cos(end)); // counter-clockwise on screen
        const QPointF across(std::cos(end), -std::sin(end));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF(
            {tip + along * 4.5, tip - across * 4 - along * 0.5, tip + across * 4 - along * 0.5}));
        break;
    }
    }
}

QPixmap picture(ReplayIcon which, const QColor& panel, const QColor& ink)
{
    QPixmap pixmap(replayIconSize(which));
    pixmap.fill(panel);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawSymbol(p, which, ink);
    return pixmap;
}

} // namespace

QSize replayIconSize(ReplayIcon which)
{
    return which == ReplayIcon::Restart ? QSize(27, 27) : QSize(17, 17);
}

QIcon replayIcon(ReplayIcon which, const QColor& panel)
{
    QIcon icon;
    icon.addPixmap(picture(which, panel, kGreen), QIcon::Normal);
    icon.addPixmap(picture(which, panel, kDisabled), QIcon::Disabled);
    return icon;
}

} // namespace loomscope
