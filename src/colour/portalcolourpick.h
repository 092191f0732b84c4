#pragma once

#include "model/colour.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace loomscope {

// Picks a colour through the desktop portal (org.freedesktop.portal.Screenshot.PickColor), the
// way a program under Wayland gets at the screen: the desktop shows its own picker and answers
// on a request object with the colour as three fractions of red, green and blue.
class PortalColourPick : public QObject {
    Q_OBJECT
public:
    explicit PortalColourPick(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);

    // Asks the portal. `parentWindow` names the asking window as the portal expects it
    // ("x11:1a00003"), or is empty. Answers with exactly one of the signals below.
    void start(const QString& parentWindow);

    // A colour of three fractions 0 … 1 as the portal gives it.
    static TColor colourFromFractions(double red, double green, double blue);

signals:
    void picked(TColor colour);
    void cancelled();
    void failed(const QString& message);

private slots:
    void response(uint code, const QVariantMap& results);

private:
    void listen(const QString& requestPath);
    void stopListening();
    void fail(const QString& why);

    QDBusConnection bus_;
    QString requestPath_;
    int requests_ = 0;
};

} // namespace loomscope
