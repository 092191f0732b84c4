#include "screencolourpick.h"

#include "portalcolourpick.h"
#include "session/usermessages.h"
#include "tform1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace loomscope {

namespace {

PickRoute routeOfThisSession()
{
    return choosePickRoute(QGuiApplication::platformName().toStdString(),
                           qEnvironmentVariable("XDG_SESSION_TYPE").toStdString(),
                           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

QImage grabScreen(QScreen* screen)
{
    return screen ? screen->grabWindow(0).toImage() : QImage();
}

} // namespace

ScreenColourPick::ScreenColourPick(QWidget* anchor, UserMessages& messages, QObject* parent)
    : QObject(parent), anchor_(anchor), messages_(messages), overlay_(std::make_unique<TForm1>()),
      capture_(grabScreen), route_(routeOfThisSession())
{
    usePortalBus(QDBusConnection::sessionBus());
}

void ScreenColourPick::usePortalBus(const QDBusConnection& bus)
{
    delete portal_;
    portal_ = new PortalColourPick(bus, this);
    connect(portal_, &PortalColourPick::picked, this, [this](TColor c) { finish(c); });
    connect(portal_, &PortalColourPick::cancelled, this, [this] { finish(std::nullopt); });
    connect(portal_, &PortalColourPick::failed, this, [this](const QString& why) {
        finish(std::nullopt, tr("No colour can be picked from the screen: the "
                                "desktop's colour picker is not available (%1).")
                                 .arg(why));
    });
}

ScreenColourPick::~ScreenColourPick() = default;

void ScreenColourPick::start(bool hideWindow)
{
    if (running_)
        return;
    running_ = true;
    QWidget* window = anchor_->window();
    if (hideWindow && window->isVisible()) {
        hiddenWindow_ = window;
        window->hide();
        QTimer::singleShot(kHideDelayMs, this, &ScreenColourPick::proceed);
    } else {
        // Let the click that started the pick finish before the overlay takes the screen.
        QTimer::singleShot(0, this, &ScreenColourPick::proceed);
    }
}

void ScreenColourPick::proceed()
{
    if (route_ == PickRoute::Portal) {
        QString parent;
        const QWidget* window = anchor_->window();
        if (QGuiApplication::platformName() == QLatin1String("xcb") && !hiddenWindow_)
            parent = QStringLiteral("x11:") + QString::number(window->winId(), 16);
        // Escape in any of our windows ends the wait; the portal's own time limit ends it
        // when no window of ours is there to press it in.
        qApp->installEventFilter(this);
        portal_->start(parent);
        return;
    }
    pickFromCapture();
}

void ScreenColourPick::pickFromCapture()
{
    QScreen* screen = anchor_->window()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QImage capture = capture_(screen);
    if (capture.isNull() || !screen) {
        finish(std::nullopt, tr("No colour can be picked from the screen: the "
                                "screen could not be copied."));
        return;
    }
    finish(overlay_->pick(capture, screen->geometry()));
}

bool ScreenColourPick::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && portal_->running() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        portal_->cancel();
        finish(std::nullopt);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ScreenColourPick::finish(std::optional<TColor> colour, const QString& error)
{
    qApp->removeEventFilter(this);
    if (hiddenWindow_) {
        // Shown again, the main window reads its configuration afresh.
        hiddenWindow_->show();
        hiddenWindow_->raise();
        hiddenWindow_->activateWindow();
        hiddenWindow_.clear();
    }
    running_ = false;
    if (!error.isEmpty())
        messages_.error(anchor_, error);
    if (colour)
        emit picked(*colour);
    emit finished();
}

} // namespace loomscope
