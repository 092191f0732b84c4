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
{}

TColor PortalColourPick::colourFromFractions(double red, double green, double blue)
{
    return rgb(channel(red), channel(green), channel(blue));
}

void PortalColourPick::start(const QString& parentWindow)
{
    stopListening();
    if (!bus_.isConnected()) {
        fail(QStringLiteral("there is no desktop session bus"));
        return;
    }
    // The portal answers on a request object whose path follows from our bus name and a
    // token of ours; listening there before asking means no answer can come too early.
    const QString token = QStringLiteral("loomscope_pick%1").arg(++requests_);
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listen(kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("PickColor"));
    call << parentWindow << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *pending;
                if (reply.isError()) {
                    fail(reply.error().message());
                    return;
                }
                // Older portals choose the path themselves.
                const QString path = reply.value().path();
                if (path != requestPath_ && !requestPath_.isEmpty())
                    listen(path);
            });
}

void PortalColourPick::listen(const QString& requestPath)
{
    stopListening();
    requestPath_ = requestPath;
    bus_.connect(kPortalService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                 SLOT(response(uint, QVariantMap)));
}

void PortalColourPick::stopListening()
{
    if (requestPath_.isEmpty())
        return;
    bus_.disconnect(kPortalService, requestPath_, kRequestInterface, QStringLiteral("Response"),
                    this, SLOT(response(uint, QVariantMap)));
    requestPath_.clear();
}

void PortalColourPick::fail(const QString& why)
{
    stopListening();
    emit failed(why);
}

void PortalColourPick::response(uint code, const QVariantMap& results)
{
    stopListening();
    if (code == 1) { // the user closed the picker
        emit cancelled();
        return;
    }
    const QVariant value = results.value(QStringLiteral("color"));
    if (code != 0 || !value.canConvert<QDBusArgument>()) {
        fail(QStringLiteral("the desktop did not give a colour"));
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
