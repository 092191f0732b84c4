#include "glsupport.h"

#include <QDir>
#include <cstdlib>

namespace loomscope::testsupport {

MeanColour meanColour(const QImage& image, const QRect& area)
{
    MeanColour m;
    const QRect r = area.intersected(image.rect());
    if (r.isEmpty())
        return m;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            m.r += qRed(p);
            m.g += qGreen(p);
            m.b += qBlue(p);
        }
    const double n = double(r.width()) * r.height();
    m.r /= n;
    m.g /= n;
    m.b /= n;
    return m;
}

bool containsColour(const QImage& image, const QRect& area, QRgb colour, int tolerance)
{
    return pixelsUnlike(image, area, colour, tolerance) <
           area.intersected(image.rect()).width() * area.intersected(image.rect()).height();
}

int pixelsUnlike(const QImage& image, const QRect& area, QRgb colour, int tolerance)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) > tolerance ||
                std::abs(qGreen(p) - qGreen(colour)) > tolerance ||
                std::abs(qBlue(p) - qBlue(colour)) > tolerance)
                ++count;
        }
    return count;
}

void snapshot(const QImage& image, const char* name)
{
    const char* dir = std::getenv("LOOMSCOPE_SNAPSHOTS");
    if (!dir)
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) +
               QLatin1String(".png"));
}

} // namespace loomscope::testsupport
