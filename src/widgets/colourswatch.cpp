#include "colourswatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace loomscope {

ColourSwatch::ColourSwatch(const QString& caption, TColor colour, Caption captionColour,
                           QWidget* parent)
    : QFrame(parent), caption_(caption), colour_(colour & 0xFFFFFFu), captionColour_(captionColour)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void ColourSwatch::setColour(TColor colour)
{
    colour &= 0xFFFFFFu;
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

TColor ColourSwatch::captionColour() const
{
    return captionColour_ == Caption::Complement ? complementOf(colour_) : 0;
}

void ColourSwatch::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), QColor(redOf(colour_), greenOf(colour_), blueOf(colour_)));
        const TColor text = captionColour();
        painter.setPen(QColor(redOf(text), greenOf(text), blueOf(text)));
        painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
    }
    QFrame::paintEvent(event); // the bevel over the fill
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void ColourSwatch::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace loomscope
