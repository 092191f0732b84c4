// Real frames of the view under an X server: what a user would see.
#include "drawing/glprocs.h"
#include "drawing/programfonts.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "testenv.h"
#include "viewer/tloomscope.h"

#include <GL/gl.h>
#include <QImage>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;
using testsupport::containsColour;
using testsupport::meanColour;
using testsupport::pixelsUnlike;

namespace {

class ViewerFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_GL();
        view.resize(800, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void load(const DstBuilder& design, const char* name = "design.dst", bool fit = true)
    {
        testsupport::writeFile(dir.file(name), design.fullyReadFile());
        ASSERT_TRUE(view.loaddstfile(dir.file(name), fit).loaded);
    }
    QImage frame(const char* snapshotName = nullptr)
    {
        QImage image = view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        if (snapshotName)
            testsupport::snapshot(image, snapshotName);
        return image;
    }
    // Where model point p of the design is on screen.
    QPoint screen(const TPoint3F& p) const
    {
        const TPointF o = view.view().origin();
        return QPoint(qRound(o.x + p.X), qRound(o.y + p.Y));
    }
    // What the screen shows of the view, overlays included.
    QImage onScreen()
    {
        QTest::qWait(30);
        return view.screen()
            ->grabWindow(view.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    const TPointList& points(int block) const
    {
        return view.dstfile().Graphlist().Items(block)->FPointList;
    }

    testsupport::TempDir dir;
    Tloomscope view;
};

// A number text as the view writes it under the user's locale (its decimal separator).
std::string inLocale(std::string text)
{
    for (char& c : text)
        if (c == '.')
            c = localeDecimalSeparator();
    return text;
}

// One horizontal stitch of 12 mm: fitted, its band is over 300 pixels long and 13 wide.
DstBuilder horizontalStitch()
{
    DstBuilder b;
    b.stitch(0, 0).stitch(120, 0).jumpBy(0, 0);
    return b;
}

} // namespace

TEST_F(ViewerFrames, HorizontalBandIsDarkerAtItsLeftEnd)
{
    view.Setbackcolor(0x000000);
    view.Setshowfont(false);
    load(horizontalStitch());
    view.setcolorlist(0, 0xFFFFFF);
    view.Setdstshowtype(tdstshow::dsturetype);
    const QImage image = frame("band-horizontal");
    const QPoint left = screen(points(0)[0]);
    const QPoint right = screen(points(0)[1]);
    ASSERT_GT(right.x() - left.x(), 300);
    const auto leftEnd = meanColour(image, QRect(left.x() + 1, left.y() - 1, 4, 3));
    const auto middle = meanColour(image, QRect((left.x() + right.x()) / 2, left.y() - 1, 4, 3));
    const auto rightEnd = meanColour(image, QRect(right.x() - 5, right.y() - 1, 4, 3));
    EXPECT_LT(leftEnd.brightness(), rightEnd.brightness() - 15);
    EXPECT_LT(rightEnd.brightness(), middle.brightness() - 30);
    // The same stitch sewn right to left looks the same.
    DstBuilder back;
    back.stitch(0, 0).jumpBy(120, 0).stitch(0, 0).stitch(-120, 0).jumpBy(0, 0);
    load(back, "back.dst");
    view.setcolorlist(0, 0xFFFFFF);
    const QImage mirrored = frame();
    const auto backLeft = meanColour(mirrored, QRect(left.x() + 1, left.y() - 1, 4, 3));
    EXPECT_NEAR(backLeft.brightness(), leftEnd.brightness(), 25);
}

TEST_F(ViewerFrames, VerticalBandHasItsDarkCapBelow)
{
    view.resize(300, 800);
    view.Setbackcolor(0x000000);
    view.Setshowfont(false);
    DstBuilder b;
    b.stitch(0, 0).stitch(0, -120).jumpBy(0, 0); // downwards on screen
    load(b);
    view.setcolorlist(0, 0xFFFFFF);
    view.Setdstshowtype(tdstshow::dsturetype);
    const QImage image = frame("band-vertical");
    const QPoint top = screen(points(0)[0]);
    const QPoint bottom = screen(points(0)[1]);
    ASSERT_GT(bottom.y() - top.y(), 300);
    const auto lower = meanColour(image, QRect(bottom.x() - 1, bottom.y() - 5, 3, 4));
    const auto upper = meanColour(image, QRect(top.x() - 1, top.y() + 1, 3, 4));
    EXPECT_LT(lower.brightness(), upper.brightness() - 15);
}

TEST_F(ViewerFrames, RedThreadGivesRedPixelsInBothShowTypes)
{
    view.SetAntialiasing(false); // whole pixels: the line's colour is exact
    view.Setbackcolor(0x000000);
    view.Setshowfont(false);
    load(horizontalStitch());
    view.setcolorlist(0, 0x0000FF); // red in the low byte
    const QPoint mid = (screen(points(0)[0]) + screen(points(0)[1])) / 2;
    const QImage lines = frame();
    EXPECT_TRUE(containsColour(lines, QRect(mid.x(), mid.y() - 1, 1, 3), qRgb(255, 0, 0), 0));
    view.Setdstshowtype(tdstshow::dsturetype);
    const auto thread = meanColour(frame("red-thread"), QRect(mid.x() - 20, mid.y() - 1, 40, 3));
    EXPECT_GT(thread.r, 150);
    EXPECT_LT(thread.g, thread.r / 2);
    EXPECT_NEAR(thread.g, thread.b, 3);
}

TEST_F(ViewerFrames, ColourCursorBlackensWhatIsNotSewnYet)
{
    view.SetAntialiasing(false);
    view.Setbackcolor(0xFFFFFF);
    view.Setshowfont(false);
    DstBuilder b;
    b.stitch(0, 0).stitch(120, 0).colourChange();
    b.stitch(0, 0).stitch(0, 40).stitch(-120, 0).jumpBy(0, 0);
    load(b);
    view.setcolorlist(0, 0x0000FF);
    view.setcolorlist(1, 0x00FF00);
    const QPoint first = (screen(points(0)[0]) + screen(points(0)[1])) / 2;
    const QPoint second = (screen(points(1)[1]) + screen(points(1)[2])) / 2;
    const QRect firstArea(first.x(), first.y() - 1, 1, 3);
    const QRect secondArea(second.x(), second.y() - 1, 1, 3);

    view.firstcolor();
    QImage image = frame("cursor-0-lines");
    EXPECT_TRUE(containsColour(image, firstArea, qRgb(0, 0, 0), 0));
    EXPECT_TRUE(containsColour(image, secondArea, qRgb(0, 0, 0), 0));
    view.nextcolor();
    image = frame();
    EXPECT_TRUE(containsColour(image, firstArea, qRgb(255, 0, 0), 0));
    EXPECT_TRUE(containsColour(image, secondArea, qRgb(0, 0, 0), 0));
    view.endcolor();
    image = frame();
    EXPECT_TRUE(containsColour(image, secondArea, qRgb(0, 255, 0), 0));

    // In the thread look black thread is dark grey.
    view.Setdstshowtype(tdstshow::dsturetype);
    view.firstcolor();
    image = frame("cursor-0-threads");
    const auto grey = meanColour(image, QRect(first.x() - 20, first.y() - 2, 40, 5));
    EXPECT_GT(grey.brightness(), 25);
    EXPECT_LT(grey.brightness(), 80);
    EXPECT_NEAR(grey.r, grey.g, 3);
}

TEST_F(ViewerFrames, StitchPointsAndMarksOnlyWhenSwitchedOn)
{
    view.SetAntialiasing(false);
    view.Setbackcolor(0x000000);
    view.Setshowfont(false);
    load(horizontalStitch());
    view.setcolorlist(0, 0x0000FF);
    const QPoint p0 = screen(points(0)[0]);
    const QRect around(p0.x() - 12, p0.y() - 12, 25, 25);
    EXPECT_FALSE(containsColour(frame(), around, qRgb(255, 255, 255), 40));
    view.Setshowpoint(true);
    EXPECT_TRUE(containsColour(frame("points"), around, qRgb(255, 255, 255), 40));
    view.Setshowpoint(false);

    view.Setbackcolor(0xFFFFFF);
    EXPECT_FALSE(containsColour(frame(), around, qRgb(0, 0, 0), 60)); // nothing black yet
    view.Setshowjiqima(true);
    const QImage marked = frame("marks");
    EXPECT_GT(around.width() * around.height() - pixelsUnlike(marked, around, qRgb(0, 0, 0), 60),
              10);
    // The start mark is 5 pixels round the first point whatever the zoom.
    EXPECT_TRUE(containsColour(marked, QRect(p0.x() + 4, p0.y() - 1, 3, 3), qRgb(0, 0, 0), 90));
    // The thread look shows neither.
    view.Setshowpoint(true);
    view.Setdstshowtype(tdstshow::dsturetype);
    EXPECT_FALSE(containsColour(frame(), QRect(p0.x() + 4, p0.y() - 1, 3, 3), qRgb(0, 0, 0), 30));
}

TEST_F(ViewerFrames, FabricShowsInTheThreadLookOnly)
{
    view.Setbackcolor(0xEEEEEE);
    view.Setshowfont(false);
    load(horizontalStitch());
    QImage grey(128, 128, QImage::Format_RGB888);
    grey.fill(QColor(128, 128, 128));
    view.setbackground(true, 0x0000FF, grey);
    const QRect corner(700, 250, 50, 30);
    EXPECT_EQ(pixelsUnlike(frame(), corner, qRgb(0xEE, 0xEE, 0xEE), 0), 0); // line mode
    view.Setdstshowtype(tdstshow::dsturetype);
    EXPECT_EQ(pixelsUnlike(frame("fabric"), corner, qRgb(255, 1, 1), 0), 0);
    view.setbackground(false, 0x0000FF, grey);
    EXPECT_EQ(pixelsUnlike(frame(), corner, qRgb(0xEE, 0xEE, 0xEE), 0), 0);
}

TEST_F(ViewerFrames, FabricTilesFromTheTopLeftOneTexelPerPixel)
{
    view.Setshowfont(false);
    load(horizontalStitch());
    QImage weave(128, 128, QImage::Format_RGB888);
    weave.fill(QColor(128, 128, 128));
    weave.setPixelColor(0, 0, QColor(255, 255, 255)); // a white dot at the tile's corner
    view.setbackground(true, 0x808080, weave);
    view.Setdstshowtype(tdstshow::dsturetype);
    const QImage image = frame();
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(128, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(256, 128), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(129, 129, 129));
}

TEST_F(ViewerFrames, OverlayTextIsTheComplementOfTheBackground)
{
    view.Setbackcolor(0xEEEEEE);
    load(horizontalStitch(), "玫瑰.dst");
    const QRect labels(10, 4, 60, 140);
    const QRect name(80, 4, 60, 20);
    QImage image = frame("overlay");
    EXPECT_TRUE(containsColour(image, labels, qRgb(0x11, 0x11, 0x11), 12));
    EXPECT_GT(pixelsUnlike(image, name, qRgb(0xEE, 0xEE, 0xEE), 30), 20); // the CJK name is drawn
    view.Setbackcolor(0x000000);
    EXPECT_TRUE(containsColour(frame(), labels, qRgb(255, 255, 255), 12));
    view.Setshowfont(false);
    EXPECT_EQ(pixelsUnlike(frame(), labels, qRgb(0, 0, 0), 0), 0);
}

TEST_F(ViewerFrames, StartAndEndMarksBelongToTheOverlay)
{
    view.Setbackcolor(0xFFFFFF);
    load(horizontalStitch());
    view.Setshowbeginend(true);
    const QRect topEdge(0, 0, 800, 2);
    EXPECT_TRUE(containsColour(frame("beginend"), topEdge, qRgb(255, 0, 0), 10));
    EXPECT_TRUE(containsColour(frame(), topEdge, qRgb(0, 0, 255), 10));
    view.Setshowfont(false);
    EXPECT_FALSE(containsColour(frame(), topEdge, qRgb(255, 0, 0), 10));
}

TEST_F(ViewerFrames, SequinsAreRingsInTheSequinColour)
{
    view.Setbackcolor(0x000000);
    view.Setshowfont(false);
    DstBuilder b;
    b.stitch(0, 0).sequinToggle().stitch(60, 0).raw(0, 0, 0x83).stitch(60, 0).sequinToggle();
    b.stitch(0, 0).jumpBy(0, 0);
    load(b);
    view.Setsequincolor(0x00FFFF); // yellow
    view.Setdstshowtype(tdstshow::dsturetype);
    const TPoint3F& sequinPoint = points(0)[3];
    ASSERT_EQ(sequinPoint.Z, 0x83);
    const QPoint c = screen(sequinPoint);
    const float ro = view.view().sequinOuterRadius();
    const float rh = view.view().sequinHoleRadius();
    const int ring = qRound((ro + rh) / 2);
    const QImage image = frame("sequin");
    EXPECT_TRUE(
        containsColour(image, QRect(c.x() - 2, c.y() - ring - 2, 4, 4), qRgb(255, 255, 0), 10));
}

TEST_F(ViewerFrames, MeasuringFigureAppearsAndGoesWithoutAPan)
{
    view.Setbackcolor(0xEEEEEE);
    load(horizontalStitch(), "design.dst", false); // scale 1
    const TRectF before = view.dstrect();
    view.Setcl(true);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(&view, QPoint(135, 150));
    EXPECT_EQ(view.view().measureText(), inLocale("9.9mm"));
    const QImage drawn = onScreen();
    testsupport::snapshot(drawn, "measuring");
    // The crosshair runs across the whole view.
    EXPECT_GT(pixelsUnlike(drawn, QRect(135, 280, 1, 15), qRgb(0xEE, 0xEE, 0xEE), 20), 10);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(135, 150));
    const QImage after = onScreen();
    EXPECT_EQ(pixelsUnlike(after, QRect(135, 280, 1, 15), qRgb(0xEE, 0xEE, 0xEE), 0), 0);
    view.offsetpos(35, 0); // the host's pan for that release
    EXPECT_EQ(view.dstrect(), before);
    view.offsetpos(35, 0);
    EXPECT_NEAR(view.dstrect().left, before.left + 35, 1e-4);
}

TEST_F(ViewerFrames, SettingTheSameColourDoesNotRedraw)
{
    load(horizontalStitch());
    const quint64 frames = view.redrawRequests();
    view.setcolorlist(0, view.readcolorlist(0));
    view.setcolorlist(5, 0x123456);
    EXPECT_EQ(view.redrawRequests(), frames);
    view.setcolorlist(0, 0x123456);
    EXPECT_EQ(view.redrawRequests(), frames + 1);
}

TEST_F(ViewerFrames, LeavesTheContextAsItsTextPainterExpectsIt)
{
    // Qt uploads glyphs and pictures with the default row alignment; a texture upload that
    // left another one behind garbled every new glyph Qt drew.
    load(horizontalStitch());
    QImage weave(128, 128, QImage::Format_RGB888);
    weave.fill(Qt::gray);
    view.setbackground(true, 0xFFFFFF, weave);
    view.Setdstshowtype(tdstshow::dsturetype);
    frame();
    view.Setdstshowtype(tdstshow::dsline);
    frame();
    view.makeCurrent();
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    view.doneCurrent();
    EXPECT_EQ(alignment, 4);
}

TEST_F(ViewerFrames, AFileThatCannotBeReadLeavesOnlyTheBackground)
{
    // The reader keeps the previous design's blocks for a file it cannot read; shown under the
    // new name they would be a lie, and the new file's side file would recolour them.
    view.Setbackcolor(0xEEEEEE);
    load(horizontalStitch());
    EXPECT_GT(pixelsUnlike(frame(), QRect(0, 0, 800, 300), qRgb(0xEE, 0xEE, 0xEE), 8), 100);
    testsupport::writeFile(dir.file("short.dst"), std::vector<std::uint8_t>(522, 0));
    testsupport::writeFile(dir.file("short.lsc"), {'L', 'S', 'C', '.', '.', 9, 0, 1, 2, 3, 4, 5});
    int announced = 0;
    QObject::connect(&view, &Tloomscope::designLoaded, [&] { ++announced; });
    const auto result = view.loaddstfile(dir.file("short.dst"), true);
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(result.dst, DstReadStatus::TooShort);
    EXPECT_FALSE(result.sideFile.failed()); // not even read
    EXPECT_EQ(announced, 1);
    EXPECT_FALSE(view.view().isexist());
    EXPECT_EQ(view.dstinfo().Fstitchcount, 0);
    EXPECT_EQ(pixelsUnlike(frame("unreadable"), QRect(0, 0, 800, 300), qRgb(0xEE, 0xEE, 0xEE), 2),
              0);
    // The next design that can be read is shown again.
    load(horizontalStitch(), "again.dst");
    EXPECT_TRUE(view.view().isexist());
}

TEST_F(ViewerFrames, TheSecondPressOfADoubleClickIsAPressToo)
{
    // Qt turns the second press of a quick double press into a double-click event; an armed
    // measurement must still start on it.
    load(horizontalStitch(), "design.dst", false);
    view.Setcl(true);
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(100, 150),
                      view.mapToGlobal(QPointF(100, 150)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &twice);
    QMouseEvent move(QEvent::MouseMove, QPointF(135, 150), view.mapToGlobal(QPointF(135, 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
    EXPECT_EQ(view.view().measureText(), inLocale("9.9mm"));
}

TEST(ViewerLifetime, AViewMovedBetweenWindowsAndDeletedLeavesNothingBehind)
{
    SKIP_WITHOUT_GL();
    // The context of a moved view is made anew; the old one's last signal, and the last one of
    // the context that goes with the view, must not reach a view that is already gone.
    testsupport::TempDir dir;
    DstBuilder b;
    b.stitch(0, 0).stitch(120, 0).jumpBy(0, 0);
    testsupport::writeFile(dir.file("d.dst"), b.fullyReadFile());
    auto first = std::make_unique<QWidget>();
    first->resize(300, 200);
    auto* view = new Tloomscope(first.get());
    view->resize(300, 200);
    first->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first.get()));
    view->loaddstfile(dir.file("d.dst"), true);
    EXPECT_FALSE(view->grabFramebuffer().isNull());
    QWidget second;
    second.resize(300, 200);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    view->setParent(&second);
    view->show();
    EXPECT_FALSE(view->grabFramebuffer().isNull());
    delete view;
    first.reset();
    QTest::qWait(20);
}

TEST_F(ViewerFrames, NewerGlFunctionsComeFromTheContextAndAMissingOneIsNamed)
{
    view.makeCurrent();
    QOpenGLContext* context = QOpenGLContext::currentContext();
    ASSERT_NE(context, nullptr);
    GlProcs procs;
    const char* missing = nullptr;
    EXPECT_TRUE(procs.resolve(
        [context](const char* name) {
            return reinterpret_cast<void*>(context->getProcAddress(name));
        },
        &missing));
    EXPECT_TRUE(procs.complete());
    // A driver without buffer objects: nothing half-resolved is left to be called.
    EXPECT_FALSE(procs.resolve(
        [context](const char* name) -> void* {
            if (std::string(name).rfind("glBindBuffer", 0) == 0)
                return nullptr;
            return reinterpret_cast<void*>(context->getProcAddress(name));
        },
        &missing));
    EXPECT_STREQ(missing, "glBindBuffer");
    EXPECT_FALSE(procs.complete());
    view.doneCurrent();
}
