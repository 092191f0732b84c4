#include "portalcolourpick.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <algorithm>
#include <cmath>

namespace loomscope {

namespace {
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

int channel(double fraction)
{
    if (!std::isfinite(fraction))
        return 0;
    return static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255));
}
} // namespace

PortalColourPick::PortalColourPick(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus)
{
    timeout_.setSingleShot(true);
    timeout_.setInterval(kDefaultTimeoutMs);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("the desktop did not answer within %1 seconds")
                 .arg(timeout_.interval() / 1000));
    });
    // Every request object's answer, whatever its path: the path of ours is known only from
    // the reply with older portals, and the answer may come before the reply.
    if (bus_.isConnected())
        bus_.connect(kPortalService, QString(), kRequestInterface, QStringLiteral("Response"), this,
                     SLOT(response(uint, QVariantMap)));
}

TColor PortalColourPick::colourFromFractions(double red, double green, double blue)
{
    return rgb(channel(red), channel(green), channel(blue));
}

void PortalColourPick::start(const QString& parentWindow)
{
    end();
    if (!bus_.isConnected()) {
        emit failed(QStringLiteral("there is no desktop session bus"));
        return;
    }
    running_ = true;
    const int request = ++requests_;
    const QString token = QStringLiteral("loomscope_pick%1").arg(request);
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    expectedPath_ = kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    timeout_.start();

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("PickColor"));
    call << parentWindow << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                if (!running_ || request != requests_)
                    return; // cancelled, or another pick has begun
                const QDBusPendingReply<QDBusObjectPath> reply = *pending;
                if (reply.isError()) {
                    fail(reply.error().message());
                    return;
                }
                replied_ = true;
                repliedPath_ = reply.value().path();
                const auto early = early_.constFind(repliedPath_);
                if (early != early_.constEnd())
                    answer(*early);
            });
}

void PortalColourPick::cancel()
{
    end();
}

void PortalColourPick::end()
{
    running_ = false;
    timeout_.stop();
    expectedPath_.clear();
    repliedPath_.clear();
    replied_ = false;
    early_.clear();
}

void PortalColourPick::fail(const QString& why)
{
    end();
    emit failed(why);
}

void PortalColourPick::response(uint code, const QVariantMap& results)
{
    if (!running_ || !calledFromDBus())
        return;
    const QString path = message().path();
    if (path == expectedPath_ || (replied_ && path == repliedPath_))
        answer({code, results});
    else if (!replied_)
        early_.insert(path, {code, results}); // perhaps ours: the reply will tell
}

void PortalColourPick::answer(Answer a)
{
    end();
    if (a.code == 1) { // the user closed the picker
        emit cancelled();
        return;
    }
    const QVariant value = a.results.value(QStringLiteral("color"));
    if (a.code != 0 || !value.canConvert<QDBusArgument>()) {
        emit failed(QStringLiteral("the desktop did not give a colour"));
        return;
    }
    const QDBusArgument argument = value.value<QDBusArgument>();
    double red = 0;
    double green = 0;
    double blue = 0;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    emit picked(colourFromFractions(red, green, blue));
}

} // namespace loomscope
