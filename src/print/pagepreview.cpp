#include "pagepreview.h"

#include <QMouseEvent>
#include <QPainter>

namespace loomscope {

PagePreview::PagePreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePreview::setPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void PagePreview::setPictureOrigin(QPoint origin)
{
    origin_ = origin;
    update();
}

void PagePreview::setBand(std::optional<QRect> band)
{
    band_ = band;
    update();
}

void PagePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (picture_ && !picture_->isNull())
        painter.drawImage(origin_, *picture_);
    if (band_) {
        // A rectangle that shows on the white page and on dark lines alike; it is not part of
        // the picture, so taking it away leaves the page as it was.
        const QRect r = band_->normalized().translated(origin_);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(r);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(r);
    }
}

void PagePreview::mousePressEvent(QMouseEvent* event)
{
    emit pressed(toPicture(event->position().toPoint()));
}

void PagePreview::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton)
        emit moved(toPicture(event->position().toPoint()));
}

void PagePreview::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(toPicture(event->position().toPoint()));
}

} // namespace loomscope
