// Picking a colour from the screen: the overlay on a known picture, the whole pick with the
// main window hidden, a screen that cannot be copied, and the desktop portal over D-Bus.
#include "colour/colourpanel.h"
#include "colour/pickroute.h"
#include "colour/portalcolourpick.h"
#include "colour/screencolourpick.h"
#include "colour/swatchgrid.h"
#include "colour/tform1.h"
#include "glsupport.h"
#include "recordingmessages.h"
#include "session/mainstate.h"
#include "session/usermessages.h"
#include "testenv.h"
#include "viewer/tloomscope.h"
#include "widgets/colourswatch.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;

namespace {

// A grey picture with a green pixel at (50, 40) and a red one at (120, 90).
QImage knownCapture()
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    image.setPixel(50, 40, qRgb(0, 255, 0));
    image.setPixel(120, 90, qRgb(255, 0, 0));
    return image;
}

} // namespace

TEST(PickRoute, WaylandSessionsUseThePortal)
{
    EXPECT_EQ(choosePickRoute("xcb", "x11", false), PickRoute::ScreenGrab);
    EXPECT_EQ(choosePickRoute("xcb", "", false), PickRoute::ScreenGrab);
    EXPECT_EQ(choosePickRoute("wayland", "", true), PickRoute::Portal);
    EXPECT_EQ(choosePickRoute("wayland-egl", "wayland", true), PickRoute::Portal);
    EXPECT_EQ(choosePickRoute("xcb", "wayland", true), PickRoute::Portal); // under XWayland
    EXPECT_EQ(choosePickRoute("xcb", "", true), PickRoute::Portal);
    EXPECT_EQ(choosePickRoute("xcb", "x11", true), PickRoute::ScreenGrab);
}

TEST(PickOverlay, SampleSquareFollowsThePointerAndAClickTakesItsColour)
{
    SKIP_WITHOUT_GL();
    TForm1 overlay;
    EXPECT_EQ(overlay.objectName(), QStringLiteral("Form1"));
    overlay.setGeometry(0, 0, 400, 300); // larger than the picture
    overlay.setCapture(knownCapture());
    overlay.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay));
    EXPECT_TRUE(overlay.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(overlay.windowFlags() & Qt::FramelessWindowHint);

    QTest::mouseMove(overlay.Image1, QPoint(50, 40));
    ASSERT_TRUE(testsupport::waitUntil([&] { return overlay.Shape1->pos() == QPoint(66, 56); }));
    EXPECT_EQ(overlay.Shape1->size(), QSize(15, 15));
    EXPECT_TRUE(overlay.Shape1->isVisible());
    EXPECT_EQ(overlay.sampleColour(), rgb(0, 255, 0));
    QTest::qWait(30);
    const QImage shown = overlay.grab().toImage().convertToFormat(QImage::Format_RGB32);
    testsupport::snapshot(shown, "pick-overlay");
    EXPECT_EQ(testsupport::pixelsUnlike(shown, QRect(68, 58, 11, 11), qRgb(0, 255, 0), 2), 0);

    QTest::mouseClick(overlay.Image1, Qt::LeftButton, {}, QPoint(120, 90));
    EXPECT_EQ(overlay.pickedColour(), rgb(255, 0, 0));
    EXPECT_EQ(overlay.result(), QDialog::Accepted);
    EXPECT_FALSE(overlay.isVisible());

    // A click beside the picture closes the overlay without a colour.
    overlay.setCapture(knownCapture());
    overlay.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay));
    QTest::mouseClick(&overlay, Qt::LeftButton, {}, QPoint(350, 250));
    EXPECT_FALSE(overlay.pickedColour().has_value());
    EXPECT_EQ(overlay.result(), QDialog::Rejected);

    // A scaled screen copies two pixels a point: the pointer still finds its pixel.
    QImage doubled = knownCapture().scaled(600, 400);
    doubled.setDevicePixelRatio(2);
    overlay.setCapture(doubled);
    overlay.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overlay));
    EXPECT_EQ(overlay.Image1->size(), QSize(300, 200));
    QTest::mouseMove(overlay.Image1, QPoint(120, 90));
    ASSERT_TRUE(testsupport::waitUntil([&] { return overlay.Shape1->pos() == QPoint(136, 106); }));
    EXPECT_EQ(overlay.sampleColour(), rgb(255, 0, 0));
    QTest::mouseMove(overlay.Image1, QPoint(50, 40));
    ASSERT_TRUE(testsupport::waitUntil([&] { return overlay.Shape1->pos() == QPoint(66, 56); }));
    EXPECT_EQ(overlay.sampleColour(), rgb(0, 255, 0));
    overlay.reject();
}

class ScreenPickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_GL();
        host.resize(700, 500);
        viewer = new Tloomscope(&host);
        viewer->setGeometry(0, 0, 700 - ColourPanel::kWidth, 500);
        panel = new ColourPanel(viewer, state, QString::fromStdString(home.path().string() + "/"),
                                messages, &host);
        panel->setGeometry(700 - ColourPanel::kWidth, 0, ColourPanel::kWidth, 500);
        panel->screenPick()->setRoute(PickRoute::ScreenGrab);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        panel->open();
    }

    testsupport::TempDir home;
    RecordingMessages messages;
    MainState state;
    QWidget host;
    Tloomscope* viewer = nullptr;
    ColourPanel* panel = nullptr;
};

TEST_F(ScreenPickTest, HidesTheWindowPicksFromTheFrozenScreenAndShowsItAgain)
{
    EXPECT_EQ(panel->Panel10->colour(), 0xC0C0C0u); // silver at start
    EXPECT_FALSE(panel->CheckBox1->isChecked());
    EXPECT_EQ(panel->CheckBox1->text(), QStringLiteral("取色时隐藏"));

    bool visibleWhileCopied = true;
    qint64 hiddenFor = -1;
    QElapsedTimer clock;
    panel->screenPick()->setCapture([&](QScreen*) {
        visibleWhileCopied = host.isVisible();
        hiddenFor = clock.elapsed();
        return knownCapture();
    });
    QSignalSpy finished(panel->screenPick(), &ScreenColourPick::finished);
    panel->CheckBox1->setChecked(true);
    clock.start();
    panel->SpeedButton5->click();
    EXPECT_FALSE(host.isVisible());

    // The overlay waits in an event loop of its own: the user's moves come from a timer.
    TForm1* overlay = panel->screenPick()->overlay();
    QRect overlayGeometry;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (!overlay->isVisible() || !overlay->windowHandle()->isExposed())
            return;
        user.stop();
        overlayGeometry = overlay->geometry();
        QTest::mouseMove(overlay->Image1, QPoint(50, 40));
        QTest::mouseClick(overlay->Image1, Qt::LeftButton, {}, QPoint(50, 40));
    });
    user.start(10);
    QTimer::singleShot(8000, overlay, &QDialog::reject); // never hang the test run
    ASSERT_TRUE(testsupport::waitUntil([&] { return finished.count() == 1; }));
    EXPECT_FALSE(visibleWhileCopied);
    EXPECT_GE(hiddenFor, ScreenColourPick::kHideDelayMs);
    EXPECT_EQ(overlayGeometry, host.screen()->geometry());
    EXPECT_EQ(panel->Panel10->colour(), rgb(0, 255, 0));
    EXPECT_TRUE(host.isVisible()); // shown again
    EXPECT_FALSE(overlay->Shape1->isVisible());
    EXPECT_TRUE(messages.errors.isEmpty());

    // The picked colour goes into the palette's current entry.
    QTest::mouseDClick(panel->Panel10, Qt::LeftButton);
    EXPECT_EQ(panel->StringGrid1->swatchColour(1), rgb(0, 255, 0));
}

TEST_F(ScreenPickTest, TheRealScreenIsCopiedOnX11)
{
    // The chart swatch shows a colour found nowhere else; the pick takes it from the screen.
    panel->Panel11->setColour(rgb(12, 200, 99));
    QTest::qWait(50);
    const QPoint target = panel->Panel11->mapToGlobal(QPoint(6, 6)); // beside the caption
    QSignalSpy finished(panel->screenPick(), &ScreenColourPick::finished);
    TForm1* overlay = panel->screenPick()->overlay();
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (!overlay->isVisible() || !overlay->windowHandle()->isExposed())
            return;
        user.stop();
        const QPoint at = target - overlay->geometry().topLeft();
        QTest::mouseMove(overlay->Image1, at);
        QTest::qWait(30);
        testsupport::snapshot(overlay->grab().toImage(), "pick-overlay-screen");
        QTest::mouseClick(overlay->Image1, Qt::LeftButton, {}, at);
    });
    user.start(10);
    QTimer::singleShot(8000, overlay, &QDialog::reject);
    panel->SpeedButton5->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return finished.count() == 1; }));
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(panel->Panel10->colour(), rgb(12, 200, 99));
}

TEST_F(ScreenPickTest, AScreenThatCannotBeCopiedIsSaidSoNeverShownBlack)
{
    panel->screenPick()->setCapture([](QScreen*) { return QImage(); });
    QSignalSpy finished(panel->screenPick(), &ScreenColourPick::finished);
    panel->CheckBox1->setChecked(true);
    panel->SpeedButton5->click();
    ASSERT_TRUE(testsupport::waitUntil([&] { return finished.count() == 1; }));
    EXPECT_FALSE(panel->screenPick()->overlay()->isVisible());
    EXPECT_TRUE(host.isVisible());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("could not be copied")));
    EXPECT_EQ(panel->Panel10->colour(), 0xC0C0C0u);
}

// --- the desktop portal on a private session bus ---------------------------------------------

// The colour of the portal's answer: three fractions in a structure.
namespace portaltest {
struct PortalColour {
    double red = 0, green = 0, blue = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalColour& c)
{
    argument.beginStructure();
    argument << c.red << c.green << c.blue;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalColour& c)
{
    argument.beginStructure();
    argument >> c.red >> c.green >> c.blue;
    argument.endStructure();
    return argument;
}
} // namespace portaltest
Q_DECLARE_METATYPE(portaltest::PortalColour)

namespace {

using portaltest::PortalColour;

// The Screenshot portal as the desktop offers it: PickColor answers with a request path and
// then sends Response on that path.
class FakePortal : public QDBusVirtualObject {
public:
    explicit FakePortal(QDBusConnection bus) : bus_(std::move(bus)) {}

    uint code = 0;
    PortalColour colour;
    QString parentWindow;
    bool silent = false;  // accepts the request and never answers
    bool ownPath = false; // an older portal: its own request path, answered before the reply

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("PickColor"))
            return false;
        parentWindow = message.arguments().value(0).toString();
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(1));
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = ownPath
                                 ? QStringLiteral("/org/freedesktop/portal/desktop/request/old/1")
                                 : QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                                       sender + QLatin1Char('/') +
                                       options.value(QStringLiteral("handle_token")).toString();
        const QDBusMessage reply = message.createReply(QVariant::fromValue(QDBusObjectPath(path)));
        if (ownPath) // the reply a moment after the answer
            QTimer::singleShot(100, [bus = bus_, reply]() mutable { bus.send(reply); });
        else
            connection.send(reply);
        if (silent)
            return true;
        QDBusMessage response = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QVariantMap results;
        if (code == 0)
            results.insert(QStringLiteral("color"), QVariant::fromValue(colour));
        response << code << results;
        bus_.send(response);
        return true;
    }

private:
    QDBusConnection bus_;
};

class PortalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--print-address=1")});
        ASSERT_TRUE(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        qDBusRegisterMetaType<PortalColour>();
        portalBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("fake-portal")));
        clientBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("client")));
        ASSERT_TRUE(portalBus->isConnected() && clientBus->isConnected());
        portal = std::make_unique<FakePortal>(*portalBus);
        ASSERT_TRUE(portalBus->registerVirtualObject(
            QStringLiteral("/org/freedesktop/portal/desktop"), portal.get()));
        ASSERT_TRUE(portalBus->registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    void TearDown() override
    {
        portalBus.reset();
        clientBus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        bus.kill();
        bus.waitForFinished();
    }

    QProcess bus;
    std::unique_ptr<QDBusConnection> portalBus;
    std::unique_ptr<QDBusConnection> clientBus;
    std::unique_ptr<FakePortal> portal;
};

} // namespace

TEST_F(PortalTest, TheDesktopPicksTheColour)
{
    PortalColourPick pick(*clientBus);
    QSignalSpy picked(&pick, &PortalColourPick::picked);
    QSignalSpy cancelled(&pick, &PortalColourPick::cancelled);
    QSignalSpy failed(&pick, &PortalColourPick::failed);

    portal->colour = {0.5, 0.25, 1.0};
    pick.start(QStringLiteral("x11:1a"));
    ASSERT_TRUE(testsupport::waitUntil([&] { return picked.count() == 1; }));
    EXPECT_EQ(picked.at(0).at(0).value<TColor>(), rgb(128, 64, 255));
    EXPECT_EQ(portal->parentWindow, QStringLiteral("x11:1a"));

    portal->code = 1; // the user closed the picker
    pick.start(QString());
    ASSERT_TRUE(testsupport::waitUntil([&] { return cancelled.count() == 1; }));
    EXPECT_EQ(picked.count(), 1);

    // No portal on the bus: a failure to report, not a silent nothing.
    portalBus->unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    pick.start(QString());
    ASSERT_TRUE(testsupport::waitUntil([&] { return failed.count() == 1; }));
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(cancelled.count(), 1);
}

TEST_F(PortalTest, AnAnswerBeforeTheReplyOnThePortalsOwnPathIsKept)
{
    PortalColourPick pick(*clientBus);
    QSignalSpy picked(&pick, &PortalColourPick::picked);
    portal->ownPath = true;
    portal->colour = {1.0, 0.0, 0.0};
    pick.start(QString());
    ASSERT_TRUE(testsupport::waitUntil([&] { return picked.count() == 1; }));
    EXPECT_EQ(picked.at(0).at(0).value<TColor>(), rgb(255, 0, 0));
}

TEST_F(PortalTest, APortalThatNeverAnswersGivesTheWindowBackAndALaterPickWorks)
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    RecordingMessages messages;
    ScreenColourPick pick(&window, messages);
    pick.setRoute(PickRoute::Portal);
    pick.usePortalBus(*clientBus);
    pick.portal()->setTimeout(400);
    QSignalSpy picked(&pick, &ScreenColourPick::picked);
    QSignalSpy finished(&pick, &ScreenColourPick::finished);

    // Hidden for the pick; the portal never answers: after the time limit the window is back
    // and the user is told.
    portal->silent = true;
    pick.start(true);
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(testsupport::waitUntil([&] { return finished.count() == 1; }, 5000));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(pick.running());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("did not answer")));

    // Escape ends a wait at once, without a message.
    pick.start(false);
    ASSERT_TRUE(testsupport::waitUntil([&] { return pick.portal()->running(); }, 2000));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 2);
    EXPECT_FALSE(pick.running());
    EXPECT_EQ(messages.errors.size(), 1);

    // The portal answers again: the next pick works, and the answers to the abandoned
    // requests change nothing.
    portal->silent = false;
    portal->colour = {0.0, 1.0, 0.0};
    pick.start(true);
    ASSERT_TRUE(testsupport::waitUntil([&] { return picked.count() == 1; }, 5000));
    EXPECT_EQ(picked.at(0).at(0).value<TColor>(), rgb(0, 255, 0));
    EXPECT_TRUE(window.isVisible());
}
