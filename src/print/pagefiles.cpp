#include "pagefiles.h"

#include "bmpfile.h"
#include "composepage.h"
#include "config/companyinfo.h"
#include "drawing/pictureconvert.h"
#include "model/codepage.h"
#include "model/fileio.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace loomscope {

namespace {
QString cannotCreate(const std::string& path, const QString& why)
{
    return QCoreApplication::translate("PageFiles", "Cannot create file \"%1\". %2")
        .arg(QString::fromStdString(pathDisplayText(path)), why);
}
} // namespace

namespace {
QPageSize pdfPageSize()
{
    const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(inches ? QPageSize::Letter : QPageSize::A4);
}
} // namespace

double pdfUnitMillimetres()
{
    const QSizeF mm = pdfPageSize().size(QPageSize::Millimeter);
    return std::min(mm.width() / kPageWidth, mm.height() / kPageHeight);
}

QString writePagePdf(const std::string& path, Tembs& dst, PrintPage& page,
                     const PageSources& sources, const QString& title)
{
    // Made in memory, then written by the one file writer (a failure leaves no half a PDF, and
    // the name is written with the bytes given).
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setPageSize(pdfPageSize());
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("LoomScope"));
        QPainter painter;
        if (!painter.begin(&writer))
            return cannotCreate(
                path, QCoreApplication::translate("PageFiles", "The PDF could not be started."));
        composepage(painter, 10, pageScale(writer.width(), writer.height()), dst, page, sources);
        painter.end();
    }
    buffer.close();
    const std::string failed =
        writeFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                                   static_cast<std::size_t>(pdf.size())});
    if (!failed.empty())
        return cannotCreate(path, QString::fromStdString(failed));
    return {};
}

QString saveBmp24(const QImage& picture, const std::string& path, int pixelsPerMetre)
{
    const RgbPicture rgb = toRgbPicture(picture);
    const std::vector<std::uint8_t> bytes =
        encodeBmp24(rgb.width, rgb.height, rgb.rgb, pixelsPerMetre);
    if (bytes.empty())
        return cannotCreate(
            path, QCoreApplication::translate("PageFiles", "There is no picture to save."));
    if (const std::string failed = writeFileAtomically(path, bytes); !failed.empty())
        return cannotCreate(path, QString::fromStdString(failed));
    return {};
}

QImage loadPicture(const QString& path, QString* error)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    if (picture.isNull() && error)
        *error = QCoreApplication::translate("PageFiles", "Cannot load the picture \"%1\": %2")
                     .arg(path, reader.errorString());
    return picture;
}

QImage companyLogoFrom(const QImage& picture)
{
    QImage logo(kLogoSize, kLogoSize, QImage::Format_RGB888);
    logo.fill(Qt::white); // under a transparent picture
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, kLogoSize, kLogoSize), picture);
    painter.end();
    return logo;
}

QString writeCompanyLogo(const QImage& picture, const std::string& programHome)
{
    return saveBmp24(companyLogoFrom(picture), companyLogoPath(programHome));
}

} // namespace loomscope
