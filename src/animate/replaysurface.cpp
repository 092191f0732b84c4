#include "replaysurface.h"

#include "replaystitches.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace loomscope {

namespace {

QColor toQColor(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

class PainterSink final : public ReplaySink {
public:
    PainterSink(QPainter& painter, QRect bounds) : painter_(painter), bounds_(bounds) {}

    void line(TPointF from, TPointF to, TColor colour, int width) override
    {
        painter_.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
        touch(from, to, width);
    }

    void dashedLine(TPointF from, TPointF to, TColor colour, int width) override
    {
        QPen pen(toQColor(colour), width, Qt::CustomDashLine, Qt::FlatCap);
        // Dash lengths count in pen widths; the pattern is 8 pixels on, 8 off at any width.
        const qreal dash = 8.0 / std::max(width, 1);
        pen.setDashPattern({dash, dash});
        painter_.setPen(pen);
        painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
        touch(from, to, width);
    }

    void outline(std::span<const TPointF> points, TColor colour, int width) override
    {
        if (points.empty())
            return;
        QPolygonF polygon;
        polygon.reserve(static_cast<qsizetype>(points.size()));
        TPointF low = points.front();
        TPointF high = points.front();
        for (const TPointF& p : points) {
            polygon << QPointF(p.x, p.y);
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
        painter_.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPolygon(polygon);
        touch(low, high, width);
    }

    void point(TPointF at, TColor colour, int size) override
    {
        const qreal half = size / 2.0;
        painter_.fillRect(QRectF(at.x - half, at.y - half, size, size), toQColor(colour));
        touch(at, at, size);
    }

    const QRegion& changed() const { return changed_; }

private:
    // Antialiasing spreads a pixel beyond the geometry, and a miter a little further.
    void touch(TPointF a, TPointF b, int width)
    {
        const qreal grow = width + 2;
        const QRectF r(QPointF(std::min(a.x, b.x) - grow, std::min(a.y, b.y) - grow),
                       QPointF(std::max(a.x, b.x) + grow, std::max(a.y, b.y) + grow));
        changed_ += r.toAlignedRect() & bounds_;
    }

    QPainter& painter_;
    QRect bounds_;
    QRegion changed_;
};

} // namespace

void ReplaySurface::create(int clientWidth, int clientHeight)
{
    const ReplaySurfaceSize size = replaySurfaceSize(clientWidth, clientHeight);
    image_ = QImage(size.width, size.height, QImage::Format_RGB32);
    clear();
}

void ReplaySurface::free()
{
    image_ = QImage();
}

void ReplaySurface::clear()
{
    if (!image_.isNull())
        image_.fill(Qt::black);
}

QRegion ReplaySurface::draw(const std::function<void(ReplaySink&)>& draw)
{
    if (image_.isNull())
        return {};
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    PainterSink sink(painter, image_.rect());
    draw(sink);
    return sink.changed();
}

} // namespace loomscope
