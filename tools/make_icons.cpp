// Paints the program's icons: the application icon (an embroidery hoop with a satin-stitched
// flower and a threaded needle) and the DST design-file icon (a page with the same flower
// inside a running-stitch frame). Each icon is described once, as shapes on a 256-unit canvas;
// from that description come the scalable SVG and the PNGs of every hicolor size. Sizes up to
// 32 pixels use a plainer drawing that stays readable with so few pixels.
//
//   make_icons FOLDER         writes FOLDER/hicolor/<size>/{apps,mimetypes}/...
//   make_icons --sheet PNG    every size side by side, to look at

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// A path kept both for QPainter and as SVG path data.
class IconPath {
public:
    IconPath& moveTo(double x, double y)
    {
        path_.moveTo(x, y);
        return add(QStringLiteral("M%1 %2").arg(n(x), n(y)));
    }
    IconPath& lineTo(double x, double y)
    {
        path_.lineTo(x, y);
        return add(QStringLiteral("L%1 %2").arg(n(x), n(y)));
    }
    IconPath& cubicTo(double x1, double y1, double x2, double y2, double x, double y)
    {
        path_.cubicTo(x1, y1, x2, y2, x, y);
        return add(
            QStringLiteral("C%1 %2 %3 %4 %5 %6").arg(n(x1), n(y1), n(x2), n(y2), n(x), n(y)));
    }
    IconPath& close()
    {
        path_.closeSubpath();
        return add(QStringLiteral("Z"));
    }
    IconPath& ellipse(double cx, double cy, double rx, double ry)
    {
        path_.addEllipse(QPointF(cx, cy), rx, ry);
        return add(QStringLiteral("M%1 %2A%3 %4 0 1 0 %5 %2A%3 %4 0 1 0 %1 %2Z")
                       .arg(n(cx - rx), n(cy), n(rx), n(ry), n(cx + rx)));
    }
    IconPath& rect(double x, double y, double w, double h)
    {
        return moveTo(x, y).lineTo(x + w, y).lineTo(x + w, y + h).lineTo(x, y + h).close();
    }
    const QPainterPath& painterPath() const { return path_; }
    const QString& data() const { return d_; }

private:
    static QString n(double v) { return QString::number(std::round(v * 100) / 100, 'g', 8); }
    IconPath& add(const QString& s)
    {
        d_ += s;
        return *this;
    }
    QPainterPath path_;
    QString d_;
};

struct Gradient {
    QPointF from;
    QPointF to;
    QColor start;
    QColor end;
};

struct Shape {
    IconPath path;
    std::optional<QColor> fill;
    std::optional<Gradient> gradient;
    QColor stroke = Qt::transparent;
    double width = 0;
    std::vector<double> dashes; // in canvas units
};

using Icon = std::vector<Shape>;

Shape filled(IconPath path, QColor fill, QColor stroke = Qt::transparent, double width = 0)
{
    return {std::move(path), fill, std::nullopt, stroke, width, {}};
}

Shape shaded(IconPath path, Gradient g, QColor stroke, double width)
{
    return {std::move(path), std::nullopt, g, stroke, width, {}};
}

Shape stroked(IconPath path, QColor stroke, double width, std::vector<double> dashes = {})
{
    return {std::move(path), std::nullopt, std::nullopt, stroke, width, std::move(dashes)};
}

// A satin-stitched petal or leaf from `base` along `angle` (degrees): the outline filled in
// the darker colour, then the zigzag of the stitches over it in the lighter one.
void satin(Icon& icon, QPointF base, double angle, double length, double halfWidth, QColor dark,
           QColor light)
{
    const double a = qDegreesToRadians(angle);
    const QPointF along(std::cos(a), std::sin(a));
    const QPointF across(-along.y(), along.x());
    const int steps = 16;
    std::vector<QPointF> left, right;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double w = halfWidth * std::pow(std::sin(M_PI * t), 0.7);
        const QPointF centre = base + along * (length * t);
        left.push_back(centre + across * w);
        right.push_back(centre - across * w);
    }
    IconPath outline;
    outline.moveTo(left[0].x(), left[0].y());
    for (std::size_t i = 1; i < left.size(); ++i)
        outline.lineTo(left[i].x(), left[i].y());
    for (std::size_t i = right.size(); i-- > 0;)
        outline.lineTo(right[i].x(), right[i].y());
    outline.close();
    icon.push_back(filled(outline, dark));

    IconPath zigzag;
    const int stitches = 26;
    for (int i = 0; i <= stitches; ++i) {
        const double t = 0.04 + 0.92 * double(i) / stitches;
        const double w = 0.9 * halfWidth * std::pow(std::sin(M_PI * t), 0.7);
        const QPointF p = base + along * (length * t) + across * (i % 2 ? w : -w);
        if (i == 0)
            zigzag.moveTo(p.x(), p.y());
        else
            zigzag.lineTo(p.x(), p.y());
    }
    icon.push_back(stroked(zigzag, light, length / 24));
}

const QColor kPetalDark(0xB0, 0x1E, 0x3C);
const QColor kPetalLight(0xEE, 0x4E, 0x68);
const QColor kLeafDark(0x25, 0x6E, 0x34);
const QColor kLeafLight(0x4F, 0xB0, 0x5C);
const QColor kCentre(0xF4, 0xB8, 0x2E);
const QColor kCentreDark(0xC9, 0x86, 0x12);
const QColor kOutline(0x3A, 0x2A, 0x1E);

// Five satin petals round a French-knot centre, two leaves below.
void flower(Icon& icon, QPointF centre, double size)
{
    satin(icon, centre + QPointF(size * 0.15, size * 0.55), 60, size * 0.95, size * 0.2, kLeafDark,
          kLeafLight);
    satin(icon, centre + QPointF(-size * 0.15, size * 0.55), 120, size * 0.95, size * 0.2,
          kLeafDark, kLeafLight);
    for (int i = 0; i < 5; ++i)
        satin(icon, centre, -90 + 72 * i, size, size * 0.3, kPetalDark, kPetalLight);
    icon.push_back(filled(IconPath().ellipse(centre.x(), centre.y(), size * 0.24, size * 0.24),
                          kCentre, kCentreDark, size * 0.06));
    for (int i = 0; i < 6; ++i) {
        const double a = qDegreesToRadians(60.0 * i + 15);
        const QPointF knot = centre + QPointF(std::cos(a), std::sin(a)) * (size * 0.12);
        icon.push_back(
            filled(IconPath().ellipse(knot.x(), knot.y(), size * 0.04, size * 0.04), kCentreDark));
    }
}

// The plain flower of the small sizes: round petals in one colour.
void plainFlower(Icon& icon, QPointF centre, double size)
{
    for (int i = 0; i < 5; ++i) {
        const double a = qDegreesToRadians(-90.0 + 72 * i);
        const QPointF p = centre + QPointF(std::cos(a), std::sin(a)) * (size * 0.55);
        icon.push_back(filled(IconPath().ellipse(p.x(), p.y(), size * 0.42, size * 0.42),
                              kPetalLight, kPetalDark, size * 0.1));
    }
    icon.push_back(filled(IconPath().ellipse(centre.x(), centre.y(), size * 0.3, size * 0.3),
                          kCentre, kCentreDark, size * 0.1));
}

// A needle from its eye end to its point, with the eye cut out.
void needle(Icon& icon, QPointF eye, QPointF point, double width, bool withEye)
{
    const QPointF d = point - eye;
    const double length = std::hypot(d.x(), d.y());
    const QPointF along = d / length;
    const QPointF across(-along.y(), along.x());
    const QPointF back = eye - along * (width * 0.5);
    IconPath body;
    const QPointF a = back + across * (width / 2);
    const QPointF b = eye + along * (length * 0.7) + across * (width / 2);
    const QPointF c = point;
    const QPointF e = eye + along * (length * 0.7) - across * (width / 2);
    const QPointF f = back - across * (width / 2);
    body.moveTo(a.x(), a.y()).lineTo(b.x(), b.y()).lineTo(c.x(), c.y()).lineTo(e.x(), e.y());
    body.lineTo(f.x(), f.y());
    body.cubicTo(f.x() - along.x() * width, f.y() - along.y() * width, a.x() - along.x() * width,
                 a.y() - along.y() * width, a.x(), a.y());
    body.close();
    if (withEye) {
        // The eye as a slot along the needle, cut out by the even-odd rule.
        const QPointF s0 = eye + along * (width * 0.4);
        const QPointF s1 = eye + along * (width * 2.6);
        const double r = width * 0.17;
        body.moveTo(s0.x() + across.x() * r, s0.y() + across.y() * r)
            .lineTo(s1.x() + across.x() * r, s1.y() + across.y() * r)
            .lineTo(s1.x() - across.x() * r, s1.y() - across.y() * r)
            .lineTo(s0.x() - across.x() * r, s0.y() - across.y() * r)
            .close();
    }
    icon.push_back(shaded(body,
                          {eye - across * width, eye + across * width, QColor(0xFA, 0xFA, 0xFA),
                           QColor(0x8A, 0x8F, 0x96)},
                          QColor(0x4A, 0x4E, 0x55), width * 0.22));
}

Icon applicationIcon(bool plain)
{
    Icon icon;
    const QPointF c(128, 136);
    // Fabric stretched in the hoop.
    icon.push_back(
        shaded(IconPath().ellipse(c.x(), c.y(), 100, 100),
               {{60, 60}, {200, 220}, QColor(0xFB, 0xF7, 0xEC), QColor(0xE6, 0xDB, 0xC2)},
               Qt::transparent, 0));
    // The wooden clamp with its screw at the top.
    if (plain) {
        icon.push_back(
            filled(IconPath().rect(102, 8, 52, 34), QColor(0xA8, 0x69, 0x2E), kOutline, 8));
    } else {
        icon.push_back(
            shaded(IconPath().rect(88, 14, 72, 12),
                   {{0, 14}, {0, 26}, QColor(0xE4, 0xE6, 0xEA), QColor(0x80, 0x86, 0x8E)},
                   QColor(0x4A, 0x4E, 0x55), 3));
        icon.push_back(
            shaded(IconPath().ellipse(170, 20, 14, 14),
                   {{156, 6}, {184, 34}, QColor(0xEE, 0xEF, 0xF2), QColor(0x7A, 0x80, 0x88)},
                   QColor(0x4A, 0x4E, 0x55), 3));
        icon.push_back(
            shaded(IconPath().rect(106, 6, 20, 30).rect(130, 6, 20, 30),
                   {{106, 6}, {150, 36}, QColor(0xD9, 0xA2, 0x5E), QColor(0x9C, 0x5E, 0x26)},
                   kOutline, 3));
    }
    // The hoop: a wooden ring, the inner ring showing as a line.
    IconPath ring;
    ring.ellipse(c.x(), c.y(), 116, 116).ellipse(c.x(), c.y(), 98, 98);
    icon.push_back(
        shaded(ring, {{20, 20}, {236, 252}, QColor(0xE8, 0xB7, 0x72), QColor(0x9A, 0x5C, 0x24)},
               kOutline, plain ? 8 : 4));
    if (!plain)
        icon.push_back(
            stroked(IconPath().ellipse(c.x(), c.y(), 107, 107), QColor(0x8A, 0x52, 0x20), 3));
    if (plain) {
        plainFlower(icon, {118, 128}, 48);
        needle(icon, {236, 240}, {150, 152}, 24, false);
    } else {
        flower(icon, {116, 122}, 58);
        // Thread from the eye of the needle down into the fabric.
        icon.push_back(stroked(IconPath().moveTo(222, 234).cubicTo(204, 256, 128, 252, 112, 214),
                               kPetalDark, 4));
        needle(icon, {224, 230}, {160, 166}, 13, true);
    }
    return icon;
}

Icon designFileIcon(bool plain)
{
    Icon icon;
    const QColor edge(0x5B, 0x63, 0x70);
    IconPath page;
    page.moveTo(36, 8).lineTo(172, 8).lineTo(220, 56).lineTo(220, 248).lineTo(36, 248).close();
    icon.push_back(shaded(page,
                          {{36, 8}, {220, 248}, QColor(0xFF, 0xFF, 0xFF), QColor(0xE4, 0xE8, 0xEE)},
                          edge, plain ? 12 : 5));
    IconPath fold;
    fold.moveTo(172, 8).lineTo(172, 56).lineTo(220, 56).close();
    icon.push_back(filled(fold, QColor(0xCF, 0xD5, 0xDE), edge, plain ? 10 : 5));
    if (plain) {
        plainFlower(icon, {128, 160}, 54);
    } else {
        // Running stitches round the motif, as an embroidery frame.
        icon.push_back(
            stroked(IconPath().rect(60, 78, 136, 146), QColor(0x2F, 0x6D, 0xB5), 4, {10, 7}));
        flower(icon, {128, 140}, 46);
    }
    return icon;
}

QString svgColour(const QColor& c)
{
    return c.name(QColor::HexRgb).toUpper();
}

QString svg(const Icon& icon)
{
    QString defs;
    QString body;
    int gradients = 0;
    for (const Shape& s : icon) {
        QString fill = QStringLiteral("none");
        if (s.gradient) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += QStringLiteral("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                                   "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n"
                                   "      <stop offset=\"0\" stop-color=\"%6\"/>\n"
                                   "      <stop offset=\"1\" stop-color=\"%7\"/>\n"
                                   "    </linearGradient>\n")
                        .arg(id)
                        .arg(s.gradient->from.x())
                        .arg(s.gradient->from.y())
                        .arg(s.gradient->to.x())
                        .arg(s.gradient->to.y())
                        .arg(svgColour(s.gradient->start), svgColour(s.gradient->end));
            fill = QStringLiteral("url(#%1)").arg(id);
        } else if (s.fill) {
            fill = svgColour(*s.fill);
        }
        QString line = QStringLiteral("  <path d=\"%1\" fill=\"%2\" fill-rule=\"evenodd\"")
                           .arg(s.path.data(), fill);
        if (s.width > 0 && s.stroke.alpha() > 0) {
            line += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\" "
                                   "stroke-linejoin=\"round\"")
                        .arg(svgColour(s.stroke))
                        .arg(s.width);
            if (!s.dashes.empty()) {
                QStringList d;
                for (double v : s.dashes)
                    d << QString::number(v);
                line += QStringLiteral(" stroke-dasharray=\"%1\"").arg(d.join(QLatin1Char(' ')));
            }
        }
        body += line + QStringLiteral("/>\n");
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                          "viewBox=\"0 0 256 256\">\n") +
           (defs.isEmpty() ? QString()
                           : QStringLiteral("  <defs>\n") + defs + QStringLiteral("  </defs>\n")) +
           body + QStringLiteral("</svg>\n");
}

QImage png(const Icon& icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    for (const Shape& s : icon) {
        QPainterPath path = s.path.painterPath();
        path.setFillRule(Qt::OddEvenFill);
        if (s.gradient) {
            QLinearGradient g(s.gradient->from, s.gradient->to);
            g.setColorAt(0, s.gradient->start);
            g.setColorAt(1, s.gradient->end);
            p.setBrush(g);
        } else if (s.fill) {
            p.setBrush(*s.fill);
        } else {
            p.setBrush(Qt::NoBrush);
        }
        if (s.width > 0 && s.stroke.alpha() > 0) {
            QPen pen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            if (!s.dashes.empty()) {
                QList<qreal> pattern;
                for (double v : s.dashes)
                    pattern << v / s.width;
                pen.setDashPattern(pattern);
            }
            p.setPen(pen);
        } else {
            p.setPen(Qt::NoPen);
        }
        p.drawPath(path);
    }
    p.end();
    return image;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Every size of both icons at its own size and enlarged four times, on light and dark ground:
// a sheet to look at before committing new icons.
QImage contactSheet(const std::vector<Icon (*)(bool)>& makers)
{
    const int sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
    QImage out(1500, 1300, QImage::Format_ARGB32_Premultiplied);
    out.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&out);
    p.fillRect(0, 650, 1500, 650, QColor(0x30, 0x30, 0x34));
    for (int ground = 0; ground < 2; ++ground) {
        int y = 10 + ground * 650;
        for (auto make : makers) {
            int x = 10;
            for (int size : sizes) {
                const QImage icon = png(make(size <= 32), size);
                p.drawImage(x, y, icon);
                if (size <= 32)
                    p.drawImage(QRect(x, y + size + 6, size * 4, size * 4), icon);
                x += size <= 32 ? size * 4 + 10 : size + 10;
            }
            y += 300;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures only: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--sheet")
        return contactSheet({applicationIcon, designFileIcon}).save(QString::fromLocal8Bit(argv[2]))
                   ? 0
                   : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER | --sheet PICTURE\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/");
    struct Kind {
        const char* folder;
        const char* name;
        Icon (*make)(bool);
    };
    const Kind kinds[] = {{"apps", "loomscope", applicationIcon},
                          {"mimetypes", "application-x-tajima-dst", designFileIcon}};
    for (const Kind& k : kinds) {
        const QString name = QLatin1String(k.name);
        if (!write(root + QStringLiteral("scalable/%1/%2.svg").arg(QLatin1String(k.folder), name),
                   svg(k.make(false)).toUtf8()))
            return 1;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString path =
                root +
                QStringLiteral("%1x%1/%2/%3.png").arg(size).arg(QLatin1String(k.folder), name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (!png(k.make(size <= 32), size).save(path, "PNG")) {
                std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
