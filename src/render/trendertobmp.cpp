#include "trendertobmp.h"

#include "drawing/designgeometry.h"
#include "drawing/programfonts.h"
#include "drawing/threadlook.h"
#include "exportlayout.h"
#include "model/codepage.h"
#include "model/fileio.h"
#include "model/palette.h"

#include <GL/gl.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace loomscope {

namespace {
// The drawing surface holds this many pixels at most; taller pictures are drawn in strips.
constexpr int kStripPixels = 4 * 1024 * 1024;
} // namespace

Trendertobmp::Trendertobmp(const rendertobmpinfo& info, int x, int y)
    : Fsequinsizez(info.sequinsda), Fsequinsizelz(info.sequinsxiao), BM_SIZE_X(pictureSide(x)),
      BM_SIZE_Y(pictureSide(y)), Fzhucolorrgb(colortovector(11842740, 255))
{
    stripHeight_ = std::clamp(kStripPixels / std::max(BM_SIZE_X, 1), 16, BM_SIZE_Y);
    ready_ = surface_.create(BM_SIZE_X, stripHeight_, &error_);
    if (ready_)
        painter_.setFunctions(surface_.functions());
}

Trendertobmp::~Trendertobmp()
{
    if (ready_ && surface_.makeCurrent()) {
        painter_.release();
        surface_.doneCurrent();
    }
}

bool Trendertobmp::loadfromfile(const std::string& filepath)
{
    const DstReadStatus status = Fdstfile.loadfromfile(filepath);
    Fdstfile.chuangkou(static_cast<float>(BM_SIZE_X), static_cast<float>(BM_SIZE_Y));
    Fcolorlist.resize(static_cast<std::size_t>(std::max(Fdstfile.colorcount(), 0)));
    for (std::size_t i = 0; i < Fcolorlist.size(); ++i)
        Fcolorlist[i] = paletteColor(static_cast<int>(i));
    return status == DstReadStatus::Read;
}

void Trendertobmp::setbackcolor(TColor value)
{
    Fbackcolor = value;
    ffontcolor = complementOf(value);
}

void Trendertobmp::Fsetzhucolor(TColor value)
{
    Fzhucolorrgb = colortovector(value, 255);
}

void Trendertobmp::isture(bool value)
{
    Fbackground = value;
}

void Trendertobmp::setbackTexture(TColor tint, const RgbPicture& picture)
{
    pxs2 = tintfabric(picture, tint, FabricTint::Export);
    fabricTint_ = tint;
}

void Trendertobmp::setcolorlist(int index, TColor colour)
{
    if (index >= 0 && index < static_cast<int>(Fcolorlist.size()))
        Fcolorlist[static_cast<std::size_t>(index)] = colour;
}

QImage Trendertobmp::render()
{
    if (!ready_)
        return {};
    // Rows of a width that is a multiple of 4 need no padding: strips are read straight into
    // the picture.
    QImage picture(BM_SIZE_X, BM_SIZE_Y, QImage::Format_RGB888);
    if (picture.isNull() || !surface_.makeCurrent())
        return {};
    ThreadOptions options;
    options.halfWidth = exportBandHalfWidth(Fdstfile.scale());
    options.sequinOuter = Fsequinsizez;
    options.sequinHole = Fsequinsizelz;
    options.sequinColour = Fzhucolorrgb;
    if (Fbackground)
        painter_.setFabricTile(pxs2);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.bytesPerLine());
    for (int top = 0; top < BM_SIZE_Y; top += stripHeight_) {
        const int rows = std::min(stripHeight_, BM_SIZE_Y - top);
        painter_.beginFrame(BM_SIZE_X, rows, BM_SIZE_X, rows, Fbackcolor, top);
        if (Fbackground)
            painter_.drawFabric(BM_SIZE_X, BM_SIZE_Y, true);
        // Every block in its thread colour (a picture has no colour cursor), in pieces so the
        // whole design's geometry is never held at once.
        constexpr std::size_t kPieceVertices = 12 * 8192;
        buildThreadGeometryInPieces(Fdstfile, Fcolorlist, Fdstfile.colorcount(), options,
                                    kPieceVertices, [this](ThreadGeometry&& piece) {
                                        painter_.setThreadGeometry(piece);
                                        painter_.drawThreads(static_cast<float>(BM_SIZE_X / 2),
                                                             static_cast<float>(BM_SIZE_Y / 2),
                                                             false);
                                        painter_.flush();
                                    });
        // The strip comes back bottom row first: read it into its place, then turn it upright.
        std::uint8_t* first = picture.bits() + rowBytes * static_cast<std::size_t>(top);
        surface_.readRgb(first, rows);
        for (int a = 0, b = rows - 1; a < b; ++a, --b)
            std::swap_ranges(first + rowBytes * std::size_t(a),
                             first + rowBytes * std::size_t(a + 1),
                             first + rowBytes * std::size_t(b));
    }
    painter_.setThreadGeometry({});
    surface_.doneCurrent();
    brighten(picture.bits(), static_cast<std::size_t>(picture.sizeInBytes()));
    return picture;
}

QImage Trendertobmp::savetobmp(float)
{
    return render();
}

void Trendertobmp::drawInfo(QImage& picture) const
{
    QPainter painter(&picture);
    painter.setFont(pictureInfoFont());
    const TColor ink = fontcolor();
    painter.setPen(QColor(redOf(ink), greenOf(ink), blueOf(ink)));
    for (const InfoLine& line : pictureInfoLines(Fdstfile, decimalSeparator_, credits_))
        painter.drawText(QRect(10, line.top, BM_SIZE_X - 10, 30), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(line.text));
}

QImage Trendertobmp::picture(float bili)
{
    QImage finished = render();
    if (finished.isNull())
        return finished;
    drawInfo(finished);
    const int dpi = pictureDotsPerInch(bili);
    finished.setDotsPerMeterX(qRound(dpi / 0.0254));
    finished.setDotsPerMeterY(qRound(dpi / 0.0254));
    return finished;
}

bool Trendertobmp::rendertobmp(const std::string& path, float bili, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!ready_)
        return fail(error_);
    const QImage finished = picture(bili);
    if (finished.isNull())
        return fail(QCoreApplication::translate(
                        "ExportJob", "There is not enough memory for a picture of %1 x %2 pixels.")
                        .arg(BM_SIZE_X)
                        .arg(BM_SIZE_Y));

    // Encoded in memory, then written by the one file writer: a failure never leaves half a
    // picture, and the name is written with the bytes given.
    const QString shown = QString::fromStdString(pathDisplayText(path));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    if (!writer.write(finished))
        return fail(QCoreApplication::translate("ExportJob", "Cannot write \"%1\": %2")
                        .arg(shown, writer.errorString()));
    const std::string failed =
        writeFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                   static_cast<std::size_t>(jpeg.size())});
    if (!failed.empty())
        return fail(QCoreApplication::translate("ExportJob", "Cannot write \"%1\": %2")
                        .arg(shown, QString::fromStdString(failed)));
    return true;
}

} // namespace loomscope
