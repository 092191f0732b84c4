#include "measureoverlay.h"

#include "designview.h"

#include <QPainter>
#include <QPainterPath>

namespace loomscope {

MeasureOverlay::MeasureOverlay(const DesignView& view, QWidget* parent)
    : QWidget(parent), view_(view)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void MeasureOverlay::paintEvent(QPaintEvent*)
{
    if (!view_.measuring())
        return;
    const TPointI start = view_.measureStart();
    const TPointI at = view_.measureEnd();
    const QString text = QString::fromStdString(view_.measureText());

    QPainterPath figure;
    figure.moveTo(start.x + 0.5, start.y + 0.5);
    figure.lineTo(at.x + 0.5, at.y + 0.5);
    figure.moveTo(0, at.y + 0.5);
    figure.lineTo(width(), at.y + 0.5);
    figure.moveTo(at.x + 0.5, 0);
    figure.lineTo(at.x + 0.5, height());
    if (!text.isEmpty()) {
        QFont font = this->font();
        font.setPointSize(13);
        const QFontMetrics metrics(font);
        // Outlined glyphs, top-left in the box from (x + 5, y - 25) to (x + 100, y).
        figure.addText(at.x + 5, at.y - 25 + metrics.ascent(), font, text);
    }

    // A light halo under a line in the overlay text colour reads on any background.
    const TColorVector& c = view_.fontColourInUse();
    const QColor ink = QColor::fromRgbF(c.red, c.green, c.blue);
    const QColor halo = ink.lightness() > 127 ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 150);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.strokePath(figure, QPen(halo, 3));
    painter.strokePath(figure, QPen(ink, 1));
}

} // namespace loomscope
