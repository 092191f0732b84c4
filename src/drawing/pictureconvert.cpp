#include "pictureconvert.h"

#include <QImage>
#include <cstring>

namespace loomscope {

RgbPicture toRgbPicture(const QImage& image)
{
    RgbPicture picture;
    if (image.isNull())
        return picture;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    picture.width = rgb.width();
    picture.height = rgb.height();
    const std::size_t row = std::size_t(picture.width) * 3;
    picture.rgb.resize(row * std::size_t(picture.height));
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(picture.rgb.data() + row * std::size_t(y), rgb.constScanLine(y), row);
    return picture;
}

QImage toQImage(const RgbPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    const std::size_t row = std::size_t(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.rgb.data() + row * std::size_t(y), row);
    return image;
}

} // namespace loomscope
