#include "toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace loomscope {

namespace {

const QColor kInk(45, 55, 72);
const QColor kAccent(38, 120, 200);
const QColor kThread(200, 60, 90);

void arrow(QPainter& p, bool left, bool bar, bool doubled)
{
    QPainterPath path;
    auto head = [&](double x) {
        if (left) {
            path.moveTo(x + 5, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 5, 13);
        } else {
            path.moveTo(x, 3);
            path.lineTo(x + 5, 8);
            path.lineTo(x, 13);
        }
    };
    head(left ? 4 : 5);
    if (doubled)
        head(left ? 9 : 0);
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    if (bar)
        p.drawLine(QPointF(left ? 2.5 : 13.5, 3), QPointF(left ? 2.5 : 13.5, 13));
}

void magnifier(QPainter& p, const QString& sign)
{
    p.setPen(QPen(kInk, 1.6));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    p.setPen(QPen(kAccent, 1.6));
    p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (sign == QLatin1String("+"))
        p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void text(QPainter& p, const QString& t, int size)
{
    QFont f = p.font();
    f.setPixelSize(size);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, t);
}

void draw(QPainter& p, ToolIcon which)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    switch (which) {
    case ToolIcon::Open:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(
            QPolygonF({{1.5, 4}, {6, 4}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}));
        break;
    case ToolIcon::SavePicture:
        p.setPen(QPen(kInk, 1.2));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(kAccent);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({{2.5, 12.5}, {6.5, 7}, {9, 10}, {11, 8}, {13.5, 12.5}}));
        p.setBrush(QColor(240, 200, 90));
        p.drawEllipse(QRectF(10, 4, 3, 3));
        break;
    case ToolIcon::Previous:
        arrow(p, true, false, false);
        break;
    case ToolIcon::Next:
        arrow(p, false, false, false);
        break;
    case ToolIcon::Browser:
        p.setPen(QPen(kInk, 1));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                p.drawRect(QRectF(2 + x * 7, 2 + y * 7, 5, 5));
        break;
    case ToolIcon::ZoomIn:
        magnifier(p, QStringLiteral("+"));
        break;
    case ToolIcon::ZoomOut:
        magnifier(p, QStringLiteral("-"));
        break;
    case ToolIcon::ActualSize:
        text(p, QStringLiteral("1:1"), 8);
        break;
    case ToolIcon::Fit:
        p.setPen(QPen(kInk, 1.5));
        for (auto [x, y, dx, dy] : {std::array<double, 4>{2, 2, 1, 1},
                                    {14, 2, -1, 1},
                                    {2, 14, 1, -1},
                                    {14, 14, -1, -1}}) {
            p.drawLine(QPointF(x, y), QPointF(x + 4 * dx, y));
            p.drawLine(QPointF(x, y), QPointF(x, y + 4 * dy));
        }
        break;
    case ToolIcon::Measure:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 210, 120));
        p.drawRect(QRectF(1.5, 5.5, 13, 5));
        for (int x = 3; x < 14; x += 2)
            p.drawLine(QPointF(x + 0.5, 5.5), QPointF(x + 0.5, x % 4 == 3 ? 8.5 : 7.5));
        break;
    case ToolIcon::ThreadLook: {
        QPainterPath wave;
        wave.moveTo(1, 10);
        wave.cubicTo(4, 2, 7, 14, 10, 6);
        wave.cubicTo(12, 1, 14, 5, 15, 4);
        p.setPen(QPen(kThread, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
        p.setPen(QPen(QColor(255, 255, 255, 150), 1));
        p.drawPath(wave);
        break;
    }
    case ToolIcon::Lines:
        p.setPen(QPen(kThread, 1.2));
        p.drawPolyline(QPolygonF({{1, 13}, {5, 3}, {8, 13}, {11, 3}, {15, 13}}));
        break;
    case ToolIcon::StitchPoints:
        p.setPen(QPen(kInk, 1));
        p.drawPolyline(QPolygonF({{1, 13}, {5, 3}, {8, 13}, {11, 3}, {15, 13}}));
        p.setBrush(kAccent);
        for (QPointF c : {QPointF(5, 3), QPointF(8, 13), QPointF(11, 3)})
            p.drawEllipse(c, 1.8, 1.8);
        break;
    case ToolIcon::MachineCodes:
        p.setPen(QPen(kInk, 1.2));
        p.drawEllipse(QPointF(4.5, 11), 3, 3);
        p.drawPolygon(QPolygonF({{9.5, 7}, {12, 2}, {14.5, 7}}));
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawLine(QPointF(6.5, 9), QPointF(10, 6.5));
        break;
    case ToolIcon::SlowDisplay:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 80));
        p.drawPolygon(QPolygonF({{4, 2}, {13, 8}, {4, 14}}));
        break;
    case ToolIcon::FirstColour:
        arrow(p, true, true, false);
        break;
    case ToolIcon::PriorColour:
        arrow(p, true, false, true);
        break;
    case ToolIcon::NextColour:
        arrow(p, false, false, true);
        break;
    case ToolIcon::EndColour:
        arrow(p, false, true, false);
        break;
    case ToolIcon::Fabric:
        p.setPen(QPen(QColor(150, 120, 90), 1));
        for (int i = 2; i < 15; i += 3) {
            p.drawLine(QPointF(i, 1), QPointF(i, 15));
            p.drawLine(QPointF(1, i), QPointF(15, i));
        }
        break;
    case ToolIcon::ColourPanel: {
        const QColor colours[] = {QColor(220, 50, 50), QColor(50, 170, 60), QColor(40, 90, 210),
                                  QColor(240, 200, 40)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(colours[i]);
            p.drawRect(QRectF(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 6, 6));
        }
        break;
    }
    case ToolIcon::Screenshot:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(210, 215, 225));
        p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
        p.drawRect(QRectF(5.5, 2.5, 5, 2));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(8, 9), 2.5, 2.5);
        break;
    case ToolIcon::Print:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(190, 195, 205));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case ToolIcon::Editor:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{3, 13}, {4, 10}, {11, 3}, {13, 5}, {6, 12}}));
        break;
    case ToolIcon::Settings:
        p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265 / 4;
            p.drawLine(QPointF(8 + 4.5 * std::cos(a), 8 + 4.5 * std::sin(a)),
                       QPointF(8 + 6.5 * std::cos(a), 8 + 6.5 * std::sin(a)));
        }
        p.setPen(QPen(kInk, 1.5));
        p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
        break;
    case ToolIcon::WebPage:
        p.setPen(QPen(kAccent, 1.2));
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.drawEllipse(QPointF(8, 8), 3, 6.5);
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        break;
    case ToolIcon::About:
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(8, 8), 7, 7);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(8, 7), QPointF(8, 12));
        p.drawPoint(QPointF(8, 4.5));
        break;
    }
}

} // namespace

QIcon toolIcon(ToolIcon which)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        draw(p, which);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace loomscope
