#include "colourswatch.h"

#include <QColorDialog>
#include <QMouseEvent>

namespace loomscope {

ColourSwatch::ColourSwatch(TColor colour, QWidget* parent) : QFrame(parent), colour_(colour)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    setColour(colour);
}

void ColourSwatch::setColour(TColor colour)
{
    colour_ = colour & 0xFFFFFFu;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(redOf(colour_), greenOf(colour_), blueOf(colour_)));
    setPalette(p);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    const QColor chosen = QColorDialog::getColor(
        QColor(redOf(colour_), greenOf(colour_), blueOf(colour_)), this, QString());
    if (!chosen.isValid())
        return;
    setColour(rgb(chosen.red(), chosen.green(), chosen.blue()));
    emit colourChosen(colour_);
}

} // namespace loomscope
