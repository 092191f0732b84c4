// The stitch-out window as a user meets it: the panel, the buttons through a whole replay,
// what reaches the screen (partial repaints, the needle), files with nothing to replay, and
// the modal replay returning on close.
#include "animate/replaysurface.h"
#include "animate/tform8.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "testenv.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::tools::DstBuilder;

namespace {

TColor threadColour(int i)
{
    static const TColor colours[] = {rgb(30, 200, 100), rgb(220, 60, 40), rgb(40, 90, 230)};
    return i >= 0 && i < 3 ? colours[i] : 0xFFFFFF;
}

QRgb toRgb(TColor c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

// A square spiral of stitches in three colours with jumps between the colours.
std::vector<std::uint8_t> spiral(int turns)
{
    DstBuilder b;
    b.stitch(0, 0);
    int side = 40;
    for (int t = 0; t < turns; ++t) {
        if (t > 0 && t % (turns / 3 + 1) == 0)
            b.colourChange().jumpBy(20, 20).stitch(0, 0);
        b.stitchTo(b.x() + side, b.y()).stitchTo(b.x(), b.y() + side);
        side += 20;
        b.stitchTo(b.x() - side, b.y()).stitchTo(b.x(), b.y() - side);
        side += 20;
    }
    return b.fullyReadFile();
}

class ReplayWindow : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TForm8>(threadColour); }

    std::string write(const char* name, const std::vector<std::uint8_t>& bytes)
    {
        testsupport::writeFile(folder.file(name), bytes);
        return folder.file(name);
    }
    // Shows the replay, reads the file (the first tick) and pauses, so that every later tick
    // happens when the test asks for it.
    void openPaused(const std::string& path)
    {
        form->showReplay(path);
        form->Timer1Timer();
        child<QToolButton>("SpeedButton2")->click();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    template <typename T> T* child(const char* name) const
    {
        return form->findChild<T*>(QLatin1String(name));
    }
    ReplayButtons buttons() const
    {
        return {child<QToolButton>("SpeedButton1")->isEnabled(),
                child<QToolButton>("SpeedButton2")->isEnabled(),
                child<QToolButton>("SpeedButton3")->isEnabled(),
                child<QToolButton>("SpeedButton4")->isEnabled()};
    }
    bool timerRunning() const { return child<QTimer>("Timer1")->isActive(); }
    // What the window shows on the screen, after pending repaints.
    QImage onScreen()
    {
        QTest::qWait(50);
        return form->screen()
            ->grabWindow(form->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    testsupport::TempDir folder;
    std::unique_ptr<TForm8> form;
};

} // namespace

TEST_F(ReplayWindow, PanelHoldsEveryControlAtItsPlace)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("走针"));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    form->showReplay(write("a.dst", spiral(6)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->size(), form->screen()->availableGeometry().size());

    const auto* panel = child<QWidget>("Panel1");
    EXPECT_EQ(panel->geometry(), QRect(0, 0, form->width(), 40));
    struct Place {
        const char* name;
        QPoint at;
        QString text;
    };
    const Place places[] = {
        {"Label1", {16, 12}, QStringLiteral("速度：")},
        {"Label2", {63, 12}, QStringLiteral("慢")},
        {"Label3", {261, 12}, QStringLiteral("快")},
        {"Label4", {296, 12}, {}},
        {"Label5", {403, 12}, {}},
        {"CheckBox1", {720, 11}, QStringLiteral("针迹点")},
        {"RadioButton1", {792, 11}, QStringLiteral("粗线")},
        {"RadioButton2", {840, 11}, QStringLiteral("细线")},
    };
    for (const Place& p : places) {
        const auto* w = child<QWidget>(p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->parentWidget(), panel) << p.name;
        EXPECT_EQ(w->pos(), p.at) << p.name;
        if (auto* label = qobject_cast<const QLabel*>(w); label && !p.text.isEmpty()) {
            EXPECT_EQ(label->text(), p.text);
        }
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
            EXPECT_EQ(button->text(), p.text);
        }
    }
    EXPECT_EQ(child<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(Qt::red));
    const QColor fast = child<QLabel>("Label3")->palette().color(QPalette::WindowText);
    EXPECT_GT(fast.green(), 100);
    EXPECT_EQ(fast.red(), 0);
    EXPECT_EQ(child<QLabel>("Label4")->width(), 109);

    const auto* track = child<QSlider>("TrackBar1");
    EXPECT_EQ(track->geometry(), QRect(82, 7, 173, 34));
    EXPECT_EQ(track->minimum(), 1);
    EXPECT_EQ(track->maximum(), 10);
    EXPECT_EQ(track->pageStep(), 1);
    EXPECT_EQ(child<QToolButton>("SpeedButton1")->geometry(), QRect(488, 7, 45, 22));
    EXPECT_EQ(child<QToolButton>("SpeedButton2")->geometry(), QRect(543, 7, 44, 22));
    EXPECT_EQ(child<QToolButton>("SpeedButton3")->geometry(), QRect(598, 7, 41, 22));
    EXPECT_EQ(child<QToolButton>("SpeedButton4")->geometry(), QRect(653, 7, 44, 22));
    EXPECT_EQ(child<QToolButton>("SpeedButton1")->iconSize(), QSize(17, 17));
    EXPECT_EQ(child<QToolButton>("SpeedButton4")->iconSize(), QSize(27, 27));
    EXPECT_EQ(child<QPushButton>("Button12")->geometry(), QRect(910, 7, 47, 25));
    EXPECT_EQ(child<QPushButton>("Button12")->text(), QStringLiteral("关闭"));
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(child<QTimer>("Timer1")->interval(), 10);

    // The button pictures: green when the button can be pressed, grey when it cannot.
    const QIcon play = child<QToolButton>("SpeedButton1")->icon();
    const QImage enabled = play.pixmap(QSize(17, 17), QIcon::Normal).toImage();
    const QImage disabled = play.pixmap(QSize(17, 17), QIcon::Disabled).toImage();
    const QRgb middle = enabled.pixel(8, 8);
    EXPECT_GT(qGreen(middle), qRed(middle) + 60);
    const QRgb grey = disabled.pixel(8, 8);
    EXPECT_LT(std::abs(qGreen(grey) - qRed(grey)), 10);
}

TEST_F(ReplayWindow, ButtonsFollowTheReplayFromStartToFinish)
{
    const std::string path = write("b.dst", spiral(4));
    form->showReplay(path);
    EXPECT_EQ(buttons(), (ReplayButtons{false, true, true, true})); // before the first tick
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("针数："));
    ASSERT_TRUE(testsupport::waitUntil([&] { return form->stepper() != nullptr; }));
    EXPECT_EQ(buttons(), ReplayButtons::playing());

    child<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(buttons(), ReplayButtons::paused());
    EXPECT_FALSE(timerRunning());
    const int pausedAt = form->stepper()->ln();
    QTest::qWait(60);
    EXPECT_EQ(form->stepper()->ln(), pausedAt);

    child<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(buttons(), ReplayButtons::playing());
    EXPECT_TRUE(timerRunning());
    child<QToolButton>("SpeedButton3")->click();
    EXPECT_EQ(buttons(), ReplayButtons::stopped());
    EXPECT_FALSE(timerRunning());

    // Play goes on from where the stop left it; at the fastest speed the end comes soon.
    child<QSlider>("TrackBar1")->setValue(10);
    const int stoppedAt = form->stepper()->ln();
    child<QToolButton>("SpeedButton1")->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return form->stepper()->finished(); }));
    EXPECT_GE(form->stepper()->ln(), stoppedAt);
    EXPECT_EQ(buttons(), ReplayButtons::finished());
    EXPECT_FALSE(timerRunning());
    const int n = form->stepper()->stitches().Fstitchs;
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("针数：%1 / %2").arg(n - 1).arg(n));
    EXPECT_EQ(child<QLabel>("Label5")->text(), QStringLiteral("色序：2 / 2"));

    // Restart clears the picture and sews again in colour 0.
    child<QToolButton>("SpeedButton2")->setEnabled(false);
    child<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(buttons(), ReplayButtons::playing());
    EXPECT_EQ(testsupport::pixelsUnlike(form->surface(), form->surface().rect(), qRgb(0, 0, 0), 0),
              0);
    child<QToolButton>("SpeedButton2")->click();
    form->Timer1Timer();
    EXPECT_TRUE(testsupport::containsColour(form->surface(), form->surface().rect(),
                                            toRgb(threadColour(0)), 2));
    EXPECT_FALSE(testsupport::containsColour(form->surface(), form->surface().rect(),
                                             toRgb(threadColour(1)), 2));
    EXPECT_EQ(child<QLabel>("Label5")->text(), QStringLiteral("色序：1 / 2"));
}

TEST_F(ReplayWindow, ScreenShowsEachTickAndTheNeedleMovesWithoutTraces)
{
    SKIP_WITHOUT_GL(); // reads the screen, which needs a real X server
    openPaused(write("c.dst", spiral(6)));
    child<QSlider>("TrackBar1")->setValue(10);
    for (int i = 0; i < 3; ++i)
        form->Timer1Timer();
    const TPointF before = form->stepper()->needle();
    const QPoint oldNeedle(static_cast<int>(before.x), static_cast<int>(before.y) + 40);
    QImage screen = onScreen();
    EXPECT_EQ(screen.pixel(oldNeedle), qRgb(255, 255, 255)) << "the needle's white cross";
    EXPECT_EQ(screen.pixel(oldNeedle + QPoint(1, 8)), qRgb(0, 0, 0)) << "its black plus";

    for (int i = 0; i < 6; ++i)
        form->Timer1Timer();
    screen = onScreen();
    const TPointF after = form->stepper()->needle();
    const QPoint newNeedle(static_cast<int>(after.x), static_cast<int>(after.y) + 40);
    ASSERT_GT((newNeedle - oldNeedle).manhattanLength(), 40) << "the needle did not move";
    // Only changed parts are repainted, yet the screen below the panel is the picture exactly,
    // but for the needle where it is now: no trace of it where it was.
    const QImage& picture = form->surface();
    int differences = 0;
    const QRect needleNow(newNeedle - QPoint(15, 15), QSize(31, 31));
    for (int y = 40; y < std::min(screen.height(), picture.height() + 40); y += 1)
        for (int x = 0; x < std::min(screen.width(), picture.width()); ++x)
            if (!needleNow.contains(x, y) && screen.pixel(x, y) != picture.pixel(x, y - 40))
                ++differences;
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(screen.pixel(newNeedle), qRgb(255, 255, 255));
    testsupport::snapshot(screen, "replay-window");
}

TEST_F(ReplayWindow, StitchesTravelsAndPointsOnThePicture)
{
    // One stitch from (20, 30) to (80, 30) in (30, 200, 100), then a travel, then thin lines:
    // read back from the picture.
    ReplayStitches records;
    records.status = ReplayReadStatus::Read;
    records.records = {{20, 30.5f, 0x03},
                       {80, 30.5f, 0x83},
                       {180, 30.5f, 0x03},
                       {180, 80.5f, 0x03},
                       {180, 80.5f, 0x03}};
    records.Fstitchs = 5;
    records.Fcolors = 1;
    ReplayStepper stepper(std::move(records), threadColour);
    ReplaySurface surface;
    surface.create(400, 240);
    ASSERT_EQ(surface.image().size(), QSize(400, 200));
    const QRegion first = surface.draw([&](ReplaySink& sink) { stepper.tick(sink, 2, 3, false); });
    const QImage& p = surface.image();

    const QRgb thread = toRgb(threadColour(0));
    const QRgb dark = qRgb(0, 150, 50);
    for (int y : {29, 30, 31}) {
        EXPECT_EQ(p.pixel(21, y), dark) << y;
        EXPECT_EQ(p.pixel(29, y), dark) << y;
        EXPECT_EQ(p.pixel(30, y), thread) << y;
        EXPECT_EQ(p.pixel(49, y), thread) << y;
        EXPECT_EQ(p.pixel(70, y), dark) << y;
        EXPECT_EQ(p.pixel(79, y), dark) << y;
    }
    EXPECT_EQ(p.pixel(50, 34), qRgb(0, 0, 0)) << "three pixels wide";
    // The travel: eight pixels on, eight off, from its start, in the colour last used.
    EXPECT_EQ(p.pixel(84, 30), thread);
    EXPECT_EQ(p.pixel(92, 30), qRgb(0, 0, 0));
    EXPECT_EQ(p.pixel(100, 30), thread);
    EXPECT_TRUE(first.contains(QPoint(25, 30)));
    EXPECT_TRUE(first.contains(QPoint(175, 30)));
    EXPECT_FALSE(first.contains(QPoint(300, 150)));

    // Thin lines and stitch points from the next tick on; earlier drawing stays.
    surface.draw([&](ReplaySink& sink) { stepper.tick(sink, 1, 1, true); });
    // A line one pixel wide along x = 180 covers half of the pixels on either side.
    for (int x : {179, 180})
        EXPECT_NEAR(qGreen(p.pixel(x, 50)), 100, 20) << x;
    EXPECT_EQ(p.pixel(181, 50), qRgb(0, 0, 0));
    EXPECT_EQ(p.pixel(180, 30), qRgb(255, 255, 255)) << "the stitch point";
    EXPECT_EQ(p.pixel(50, 30), thread);
}

TEST_F(ReplayWindow, FilesWithNothingToReplayStayBlackAndOnlyClose)
{
    std::vector<std::uint8_t> tooShort(522, ' ');
    for (const std::string& path : {write("short.dst", tooShort), folder.file("gone.dst")}) {
        openPaused(path);
        EXPECT_EQ(buttons(), ReplayButtons::nothing());
        EXPECT_FALSE(timerRunning());
        EXPECT_EQ(form->stepper(), nullptr);
        EXPECT_TRUE(child<QPushButton>("Button12")->isEnabled());
        form->Timer1Timer(); // a stray tick steps nothing
        EXPECT_FALSE(timerRunning());

        const QImage shown = form->grab().toImage();
        const QRect area(0, 40, shown.width(), shown.height() - 40);
        const int lit = testsupport::pixelsUnlike(shown, area, qRgb(0, 0, 0), 0);
        if (path.ends_with("short.dst")) {
            EXPECT_EQ(lit, 0) << "a file without records shows the black area";
        } else {
            EXPECT_GT(lit, 0) << "a file that cannot be read says so";
        }

        child<QPushButton>("Button12")->click();
        EXPECT_FALSE(form->isVisible());
    }
}

TEST_F(ReplayWindow, ReplayIsModalAndReturnsWhenClosed)
{
    // The sample design at the fastest speed, as a user would watch it.
    const std::string path = LOOMSCOPE_SOURCE_DIR "/data/samples/rose-badge.dst";
    child<QSlider>("TrackBar1")->setValue(10);
    int ticksSeen = -1;
    QTimer::singleShot(600, form.get(), [&] {
        ticksSeen = form->stepper() ? form->stepper()->ln() : -1;
        EXPECT_TRUE(form->isModal());
        testsupport::snapshot(form->grab().toImage(), "replay-sample");
        const QImage panel = child<QWidget>("Panel1")->grab(QRect(0, 0, 1000, 40)).toImage();
        testsupport::snapshot(panel.scaled(panel.size() * 2), "replay-panel");
        child<QPushButton>("Button12")->click();
    });
    form->replay(path);
    EXPECT_GT(ticksSeen, 3) << "the timer drove the replay while the window was open";
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->stepper(), nullptr) << "records dropped on close";
    EXPECT_TRUE(form->surface().isNull()) << "picture freed on close";

    // A second showing reads the file again and keeps the track bar's speed.
    child<QSlider>("TrackBar1")->setValue(7);
    openPaused(path);
    ASSERT_NE(form->stepper(), nullptr);
    form->Timer1Timer();
    EXPECT_EQ(form->stepper()->ln(), 7);
    EXPECT_EQ(child<QLabel>("Label4")->text(),
              QStringLiteral("针数：8 / %1").arg(form->stepper()->stitches().Fstitchs));

    QTest::keyClick(form.get(), Qt::Key_Escape); // closes like the close button
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->stepper(), nullptr);
}
