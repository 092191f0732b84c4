#include "composepage.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "model/fileio.h"
#include "model/tembs.h"
#include "pagetexts.h"
#include "threadshading.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <array>
#include <cmath>

namespace loomscope {

namespace {

QColor qcolour(TColor c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// A pen one device pixel wide whatever the scale, as plain lines are on paper and screen.
QPen devicePixelPen(const QColor& colour)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    return pen;
}

// The canvas's own face is left to the platform; this one has Latin metrics close to the
// screen fonts of the shops' systems and falls back to a CJK face for the Chinese labels.
void setPageFont(QPainter& painter, int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    // No ligatures: names and numbers on the page must be found and copied out of a PDF as
    // typed ("goldfish", not "gold" + the "fi" ligature + "sh").
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
}

// Text whose top-left corner is at the point (page units), as the page positions all text.
void textAt(QPainter& painter, double f, PagePoint p, const QString& text)
{
    const PagePoint c = onCanvas(p, f);
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(c.x, c.y + metrics.ascent()), text);
}

// The same for a point whose y lies on the design (a canvas y already).
void textAtCanvas(QPainter& painter, PagePoint c, const QString& text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(c.x, c.y + metrics.ascent()), text);
}

QString qtext(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

std::string drawCompanyBlock(QPainter& painter, double f, const PageSources& sources)
{
    const std::string logo = companyLogoPath(sources.programHome);
    if (fileExists(logo)) {
        const QImage picture(QString::fromStdString(logo));
        if (!picture.isNull()) {
            const PagePoint a = onCanvas({20, 20}, f);
            const PagePoint b = onCanvas({70, 70}, f);
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(a.x, a.y, b.x - a.x, b.y - a.y), picture, QRect(0, 0, 50, 50));
            painter.restore();
        }
    }
    const CompanyInfoRead company =
        sources.config ? readcompanyinfo(*sources.config) : CompanyInfoRead{};
    textAt(painter, f, {75, 20},
           QCoreApplication::translate("PrintPage", "公司：") + qtext(company.info.comname));
    textAt(painter, f, {75, 33},
           QCoreApplication::translate("PrintPage", "网址：") + qtext(company.info.website));
    textAt(painter, f, {75, 46},
           QCoreApplication::translate("PrintPage", "Email：") + qtext(company.info.email));
    textAt(painter, f, {75, 59},
           QCoreApplication::translate("PrintPage", "电话：") + qtext(company.info.tel));
    return company.error;
}

void drawDesignBlock(QPainter& painter, double f, const Tembs& dst, const PrintPage& page,
                     const PageSources& sources, double unitMm)
{
    const DesignBlockValues v = designBlockValues(dst, page.falsestitches, sources.decimalSeparator,
                                                  actualSizeScale(unitMm));
    const struct {
        const char* label;
        PagePoint labelAt;
        const std::string& value;
        PagePoint valueAt;
    } rows[] = {
        {QT_TRANSLATE_NOOP("PrintPage", "Design:"), {350, 20}, v.name, {395, 20}},
        {QT_TRANSLATE_NOOP("PrintPage", "Colors:"), {350, 33}, v.colors, {395, 33}},
        {QT_TRANSLATE_NOOP("PrintPage", "Stitches:"), {350, 46}, v.stitches, {395, 46}},
        {QT_TRANSLATE_NOOP("PrintPage", "Sequins:"), {350, 59}, v.sequins, {395, 59}},
        {QT_TRANSLATE_NOOP("PrintPage", "Scale:"), {450, 33}, v.scale, {500, 33}},
        {QT_TRANSLATE_NOOP("PrintPage", "Size(mm):"), {450, 46}, v.sizeMm, {500, 46}},
        {QT_TRANSLATE_NOOP("PrintPage", "Size(inch):"), {450, 59}, v.sizeInch, {500, 59}},
    };
    for (const auto& row : rows) {
        painter.setPen(Qt::black);
        textAt(painter, f, row.labelAt, QCoreApplication::translate("PrintPage", row.label));
        painter.setPen(QColor(0, 0, 255));
        textAt(painter, f, row.valueAt, qtext(row.value));
    }
    painter.setPen(Qt::black);
}

void drawSwatches(QPainter& painter, double f, int colourCount, const PageSources& sources)
{
    textAt(painter, f, {18, 728}, QCoreApplication::translate("PrintPage", "颜色："));
    painter.setPen(devicePixelPen(Qt::black));
    for (int k = 0; k < colourCount; ++k) {
        const PageRect r = swatchRect(k);
        const PagePoint a = onCanvas({r.left, r.top}, f);
        const PagePoint b = onCanvas({r.right, r.bottom}, f);
        const QRect square(a.x, a.y, b.x - a.x, b.y - a.y);
        const TColor colour = sources.readcolorlist ? sources.readcolorlist(k) : 0xFFFFFF;
        painter.fillRect(square, qcolour(colour));
        // Outlined on the square's own edge pixels, as a filled and framed rectangle is.
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
}

void drawPlainLines(QPainter& painter, double f, const Tembs& dst, PagePoint offset)
{
    QPolygon polyline;
    for (const TGraphObject* block : dst.Graphlist()) {
        const TPointList& points = block->FPointList;
        if (points.size() < 3)
            continue; // the last point is never drawn to: two points give no segment
        polyline.resize(static_cast<int>(points.size() - 1));
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const PagePoint p = designPointOnCanvas(points[i].X, points[i].Y, f, offset);
            polyline[static_cast<int>(i)] = QPoint(p.x, p.y);
        }
        painter.setPen(devicePixelPen(qcolour(paperColour(block->FColor))));
        painter.drawPolyline(polyline);
    }
}

// Calls `stitch` for every segment of the design whose two canvas points differ (nothing to
// shade otherwise; the next stitch starts there all the same), block by block.
template <typename BlockStart, typename Stitch>
void forEachShadedStitch(double f, const Tembs& dst, PagePoint offset, BlockStart blockStart,
                         Stitch stitch)
{
    for (const TGraphObject* block : dst.Graphlist()) {
        const TPointList& points = block->FPointList;
        if (points.size() < 3)
            continue;
        blockStart(paperColour(block->FColor));
        PagePoint from = designPointOnCanvas(points[0].X, points[0].Y, f, offset);
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            const PagePoint to = designPointOnCanvas(points[i].X, points[i].Y, f, offset);
            if (to == from)
                continue;
            stitch(from, to);
            from = to;
        }
    }
}

// Each stitch a gradient: dark at both ends, light along its middle half.
void drawShadedLines(QPainter& painter, double f, const Tembs& dst, PagePoint offset)
{
    painter.setRenderHint(QPainter::Antialiasing, false); // speed before smoothness
    const double width = 1.8 * f;
    QGradientStops stops;
    forEachShadedStitch(
        f, dst, offset,
        [&](TColor colour) {
            stops.clear();
            for (const ShadeStop& s : threadShadeStops(colour))
                stops.append({s.position, qcolour(s.colour)});
        },
        [&](PagePoint from, PagePoint to) {
            QLinearGradient gradient(from.x, from.y, to.x, to.y);
            gradient.setStops(stops);
            painter.setPen(QPen(QBrush(gradient), width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(from.x, from.y, to.x, to.y);
        });
}

// The same look in solid bands, for PDF and printers (see threadShadeBands).
void drawBandedLines(QPainter& painter, double f, const Tembs& dst, PagePoint offset)
{
    const double width = 1.8 * f;
    std::array<QPen, 3> pens;
    std::array<ShadeBand, 3> bands{};
    forEachShadedStitch(
        f, dst, offset,
        [&](TColor colour) {
            bands = threadShadeBands(colour);
            for (std::size_t b = 0; b < bands.size(); ++b)
                pens[b] = QPen(qcolour(bands[b].colour), width, Qt::SolidLine, Qt::FlatCap);
        },
        [&](PagePoint from, PagePoint to) {
            const QPointF a(from.x, from.y);
            const QPointF d(to.x - from.x, to.y - from.y);
            for (std::size_t b = 0; b < bands.size(); ++b) {
                painter.setPen(pens[b]);
                painter.drawLine(a + d * bands[b].from, a + d * bands[b].to);
            }
        });
}

void drawCrossHair(QPainter& painter, double f, PagePoint offset, TPointF point, QColor colour,
                   const QString& mark, int markX, int markY)
{
    const PagePoint at = designPointOnCanvas(point.x, point.y, f, offset);
    const PagePoint label = designPointOnCanvas(point.x + 5, point.y - 15, f, offset);
    painter.setPen(devicePixelPen(colour));
    painter.drawLine(at.x, pageRound(80 * f), at.x, pageRound(720 * f));
    painter.drawLine(pageRound(20 * f), at.y, pageRound(575 * f), at.y);
    painter.setPen(Qt::black);
    textAtCanvas(painter, {pageRound(markX * f), label.y}, mark);
    textAtCanvas(painter, {label.x, pageRound(markY * f)}, mark);
}

} // namespace

std::string composepage(QPainter& painter, int fontSize, float scale, Tembs& dst, PrintPage& page,
                        const PageSources& sources)
{
    const double f = scale;
    const QPaintDevice* device = painter.device();
    painter.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);

    // Paper measures its own page unit; the preview and its picture show the page of the
    // printer the window was opened for.
    const bool paper = device->devType() == QInternal::Printer ||
                       painter.paintEngine()->type() == QPaintEngine::Pdf;
    const double unitMm = paper ? unitMillimetres(f, device->logicalDpiX()) : page.unitMillimetres;
    const PagePoint offset = placeDesign(dst, page.placement, page.designrect, f, unitMm);

    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    setPageFont(painter, fontSize);

    std::string problem;
    if (page.options.cominfo)
        problem = drawCompanyBlock(painter, f, sources);
    if (page.options.designinfo)
        drawDesignBlock(painter, f, dst, page, sources, unitMm);

    painter.setPen(devicePixelPen(Qt::black));
    if (page.options.border) {
        const PageRect frame = frameOnCanvas(f);
        painter.drawLine(frame.left, frame.top, frame.right, frame.top);
    }

    setPageFont(painter, fontSize + 1);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < page.freeText.size(); ++i)
        textAt(painter, f, freeTextLine(page.textpos, static_cast<int>(i)),
               qtext(page.freeText[i]));

    if (page.options.color) {
        setPageFont(painter, fontSize);
        painter.setPen(Qt::black);
        drawSwatches(painter, f, dst.colorcount(), sources);
    }

    if (page.candraw) {
        // A PDF (also what a printer is sent) would hold one gradient object per stitch.
        const bool vector = painter.paintEngine()->type() == QPaintEngine::Pdf;
        if (page.options.truetype && vector)
            drawBandedLines(painter, f, dst, offset);
        else if (page.options.truetype)
            drawShadedLines(painter, f, dst, offset);
        else
            drawPlainLines(painter, f, dst, offset);
        if (page.options.beginend) {
            drawCrossHair(painter, f, offset, dst.firstpoint(), QColor(255, 0, 0),
                          QStringLiteral("1"), 24, 82);
            drawCrossHair(painter, f, offset, dst.lastpoint(), QColor(0, 0, 255),
                          QStringLiteral("2"), 565, 700);
        }
    }
    return problem;
}

} // namespace loomscope
