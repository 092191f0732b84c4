#include "linedlabel.h"

#include <QPainter>

namespace loomscope {

LinedLabel::LinedLabel(int linePitch, QWidget* parent) : QLabel(parent), pitch_(linePitch) {}

QSize LinedLabel::sizeHint() const
{
    const QStringList lines = text().split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, fontMetrics().horizontalAdvance(line));
    return {width, static_cast<int>(lines.size()) * pitch_};
}

QSize LinedLabel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void LinedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const QStringList lines = text().split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(0, i * pitch_, width(), pitch_), Qt::AlignLeft | Qt::AlignVCenter,
                   lines[i]);
}

} // namespace loomscope
