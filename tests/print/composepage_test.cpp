// The page as composepage draws it: positions, pens and texts at the printer's scale read
// from a recording paint device, and the preview's pixels at scale 1.
#include "drawing/programfonts.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "model/colorsequencefile.h"
#include "model/tembs.h"
#include "print/composepage.h"
#include "testenv.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

// Everything a page draws, with the pen it was drawn with.
struct Recorded {
    struct Text {
        QString text;
        QPointF baseline;
        QFont font;
        QColor colour;
    };
    struct Stroke {
        std::vector<QPointF> points; // two for a line, more for a polyline
        QPen pen;
    };
    std::vector<Text> texts;
    std::vector<Stroke> strokes;
    std::vector<QRectF> images;
};

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(Recorded& out) : QPaintEngine(AllFeatures), out_(out) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override
    {
        if (changed.state() & DirtyPen)
            pen_ = changed.pen();
    }
    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            out_.strokes.push_back({{lines[i].p1(), lines[i].p2()}, pen_});
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            out_.strokes.push_back({{points, points + count}, pen_});
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        out_.texts.push_back({item.text(), p, item.font(), pen_.color()});
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override
    {
        out_.images.push_back(r);
    }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override
    {
        out_.images.push_back(r);
    }
    void drawRects(const QRectF*, int) override {}
    Type type() const override { return User; }

private:
    Recorded& out_;
    QPen pen_;
};

// A printer-like canvas: 595 x 840 units at f, 600 dots per inch.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height) : width_(width), height_(height), engine_(recorded) {}
    ~RecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }
    Recorded recorded;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 600;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

private:
    int width_;
    int height_;
    mutable RecordingEngine engine_;
};

// A rectangle outline of about 100 x 50 model units; with `colours` colours, each a short
// stitch run after a colour change.
std::unique_ptr<Tembs> design(const testsupport::TempDir& dir, int colours = 1, TColor first = 0)
{
    DstBuilder b("SQUARE");
    b.stitch(0, 0).stitchTo(283, 0).stitchTo(283, 142).stitchTo(0, 142).stitchTo(0, 0);
    for (int k = 1; k < colours; ++k)
        b.colourChange().stitch(0, 0).stitch(10, 10).stitch(10, 10);
    b.jumpBy(0, 0);
    const std::string path = dir.file("square.dst");
    testsupport::writeFile(path, b.fullyReadFile());
    auto d = std::make_unique<Tembs>();
    EXPECT_EQ(d->loadfromfile(path), DstReadStatus::Read);
    if (first) {
        std::vector<TColor> table(static_cast<std::size_t>(colours), first);
        EXPECT_EQ(writecolorfile(sideFilePath(path), "card", table, {}), "");
        d->loadcolorfile(sideFilePath(path));
    }
    return d;
}

PrintPage pageFor(const Tembs& d)
{
    PrintPage page;
    page.candraw = true;
    page.falsestitches = d.stitchs();
    // A page unit of 0.283465 mm is one model unit at actual size: the positions below are
    // then whole units, which is what these tests are about. The sewn size on paper is the
    // layout's and the worksheet tool's test.
    page.unitMillimetres = 0.283465;
    return page;
}

const Recorded::Text* findText(const Recorded& r, const QString& text)
{
    for (const auto& t : r.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

// The top-left corner of a recorded text on the device it was drawn on.
QPointF topLeft(const Recorded::Text& t, const QPaintDevice& device)
{
    return {t.baseline.x(), t.baseline.y() - QFontMetricsF(t.font, &device).ascent()};
}

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

class ComposePage : public ::testing::Test {
protected:
    void SetUp() override { loadProgramFonts(); }
    std::string home() const { return homeDir.path().string() + "/"; }
    testsupport::TempDir dir;
    testsupport::TempDir homeDir;
    PageSources sources{[](int) { return TColor{0x0000FF}; }, nullptr, home(), '.'};
};

} // namespace

TEST_F(ComposePage, PrinterScaleEightPlacesEverythingEightTimesFurther)
{
    const auto owned = design(dir);
    Tembs& d = *owned;
    PrintPage page = pageFor(d);
    page.freeText = {"first", "second"};
    RecordingDevice device(595 * 8, 840 * 8);
    {
        QPainter painter(&device);
        composepage(painter, 10, 8, d, page, sources);
    }
    const Recorded& r = device.recorded;
    const Recorded::Text* label = findText(r, "Design:");
    ASSERT_TRUE(label);
    EXPECT_NEAR(topLeft(*label, device).x(), 2800, 0.01);
    EXPECT_NEAR(topLeft(*label, device).y(), 160, 0.5);
    EXPECT_EQ(label->font.pixelSize(), 83); // 10 points at 600 dots per inch
    EXPECT_EQ(label->colour, QColor(Qt::black));
    const Recorded::Text* name = findText(r, "square");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->colour, QColor(0, 0, 255)); // values in blue
    EXPECT_NEAR(topLeft(*name, device).x(), 3160, 0.01);
    // The scale in the user's number form ("1,00" under a comma locale).
    const QString scale = testsupport::inLocale(QStringLiteral("1.00"));
    ASSERT_TRUE(findText(r, scale));
    EXPECT_NEAR(topLeft(*findText(r, scale), device).x(), 4000, 0.01);
    // The free text is a point larger, 15 units (120 pixels) a line.
    const Recorded::Text* second = findText(r, "second");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->font.pixelSize(), 92);
    EXPECT_NEAR(topLeft(*second, device).y(), 105 * 8, 0.5);

    // The rule along the frame's top edge, one device pixel wide.
    bool rule = false;
    for (const auto& s : r.strokes)
        if (s.points.size() == 2 && s.points[0] == QPointF(160, 640) &&
            s.points[1] == QPointF(4600, 640))
            rule = s.pen.isCosmetic() && s.pen.widthF() == 1;
    EXPECT_TRUE(rule);
    // Plain design lines: a polyline one device pixel wide around the frame's centre.
    const auto polyline = std::find_if(r.strokes.begin(), r.strokes.end(),
                                       [](const auto& s) { return s.points.size() > 2; });
    ASSERT_NE(polyline, r.strokes.end());
    EXPECT_TRUE(polyline->pen.isCosmetic());
    EXPECT_EQ(polyline->pen.widthF(), 1);
    EXPECT_EQ(polyline->points.front(), QPointF(2380 - 399, 3200 + 200));
    // The logo is absent: nothing drawn for it.
    EXPECT_TRUE(r.images.empty());
}

TEST_F(ComposePage, ShadedLinesAreGradientPensOfOnePointEightF)
{
    const auto owned = design(dir);
    Tembs& d = *owned;
    PrintPage page = pageFor(d);
    page.options.truetype = true;
    for (const float f : {1.0f, 8.0f}) {
        RecordingDevice device(static_cast<int>(595 * f), static_cast<int>(840 * f));
        {
            QPainter painter(&device);
            composepage(painter, 10, f, d, page, sources);
        }
        int shaded = 0;
        for (const auto& s : device.recorded.strokes) {
            if (s.pen.brush().style() != Qt::LinearGradientPattern)
                continue;
            ++shaded;
            EXPECT_NEAR(s.pen.widthF(), 1.8 * f, 1e-4);
            EXPECT_EQ(s.pen.capStyle(), Qt::FlatCap);
            EXPECT_NE(s.points[0], s.points[1]); // coincident points are skipped
            const auto* g = static_cast<const QLinearGradient*>(s.pen.brush().gradient());
            EXPECT_EQ(g->start(), s.points[0]);
            EXPECT_EQ(g->finalStop(), s.points[1]);
            ASSERT_EQ(g->stops().size(), 6);
            EXPECT_EQ(g->stops()[0].second, QColor(0, 153, 0)); // green, 0.2 darker
            EXPECT_EQ(g->stops()[2].second, QColor(51, 255, 51));
        }
        EXPECT_GT(shaded, 20) << "f = " << f;
    }
}

TEST_F(ComposePage, PreviewPixels)
{
    // White thread, three colours; a logo; start and end marks.
    const auto owned = design(dir, 3, 0xFFFFFF);
    Tembs& d = *owned;
    PrintPage page = pageFor(d);
    page.options.beginend = true;
    page.options.border = false;
    QImage logo(50, 50, QImage::Format_RGB888);
    logo.fill(QColor(255, 128, 0));
    ASSERT_TRUE(logo.save(QString::fromStdString(home() + "companylogo.bmp")));
    sources.readcolorlist = [](int k) { return k == 1 ? TColor{0xFFFFFF} : TColor{0xFF0000}; };

    QImage preview(595, 840, QImage::Format_RGB32);
    preview.setDotsPerMeterX(3780);
    preview.setDotsPerMeterY(3780);
    preview.fill(Qt::black);
    {
        QPainter painter(&preview);
        composepage(painter, 7, 1, d, page, sources);
    }
    EXPECT_EQ(pixel(preview, 590, 5), 0xFFFFFFu); // the whole page white first
    EXPECT_EQ(pixel(preview, 45, 45), 0xFF8000u); // the logo in (20, 20)-(70, 70)
    EXPECT_EQ(pixel(preview, 71, 45), 0xFFFFFFu);
    EXPECT_EQ(pixel(preview, 300, 80), 0xFFFFFFu); // no rule
    // The white outline is drawn EEEEEE, centred on (297, 400) and 100 x 50 pixels.
    // (its left and bottom edges lie under the start mark).
    EXPECT_EQ(pixel(preview, 347, 390), 0xEEEEEEu);
    EXPECT_EQ(pixel(preview, 320, 375), 0xEEEEEEu);
    EXPECT_EQ(pixel(preview, 320, 400), 0xFFFFFFu);
    EXPECT_EQ(pixel(preview, 348, 390), 0xFFFFFFu);
    EXPECT_EQ(pixel(preview, 320, 374), 0xFFFFFFu);
    // Swatches from the view's colours: the white one stays white in its black outline.
    EXPECT_EQ(pixel(preview, 59, 735), 0x0000FFu);
    EXPECT_EQ(pixel(preview, 73, 735), 0xFFFFFFu);
    EXPECT_EQ(pixel(preview, 68, 735), 0x000000u);
    EXPECT_EQ(pixel(preview, 73, 730), 0x000000u);
    EXPECT_EQ(pixel(preview, 78, 740), 0x000000u);
    EXPECT_EQ(pixel(preview, 100, 735), 0xFFFFFFu); // only three
    // Start mark in red through the first stitch (247, 425), across the frame; end mark in
    // blue through the last record, 40 units right and up of it (14 pixels).
    EXPECT_EQ(pixel(preview, 247, 100), 0xFF0000u);
    EXPECT_EQ(pixel(preview, 500, 425), 0xFF0000u);
    EXPECT_EQ(pixel(preview, 261, 100), 0x0000FFu);
    EXPECT_EQ(pixel(preview, 500, 411), 0x0000FFu);
    EXPECT_EQ(pixel(preview, 247, 79), 0xFFFFFFu); // from the frame's top
    EXPECT_EQ(pixel(preview, 19, 425), 0xFFFFFFu); // and its left edge
}

TEST_F(ComposePage, OptionsSwitchBlocksOff)
{
    const auto owned = design(dir);
    Tembs& d = *owned;
    PrintPage page = pageFor(d);
    page.options.cominfo = page.options.designinfo = page.options.color = false;
    page.candraw = false;
    RecordingDevice device(595, 840);
    {
        QPainter painter(&device);
        composepage(painter, 7, 1, d, page, sources);
    }
    EXPECT_TRUE(device.recorded.texts.empty());
    ASSERT_EQ(device.recorded.strokes.size(), 1u); // the rule alone
}
