#pragma once

#include "model/colour.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

namespace loomscope {

// Picks a colour through the desktop portal (org.freedesktop.portal.Screenshot.PickColor), the
// way a program under Wayland gets at the screen: the desktop shows its own picker and answers
// on a request object with the colour as three fractions of red, green and blue.
//
// A portal that accepts the request and never answers must not leave the pick hanging: after
// `timeoutMs` it fails, and cancel() ends it at once. An answer that arrives before the
// request's reply (a portal that chose its own request path) is kept until the reply names it.
class PortalColourPick : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    explicit PortalColourPick(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);

    // Asks the portal. `parentWindow` names the asking window as the portal expects it
    // ("x11:1a00003"), or is empty. Answers with exactly one of the signals below, unless
    // cancelled first; a pick under way is dropped.
    void start(const QString& parentWindow);
    // Ends the pick under way without a signal; a later answer to it is ignored.
    void cancel();
    bool running() const { return running_; }
    void setTimeout(int milliseconds) { timeout_.setInterval(milliseconds); }

    // A colour of three fractions 0 … 1 as the portal gives it.
    static TColor colourFromFractions(double red, double green, double blue);

    static constexpr int kDefaultTimeoutMs = 60'000;

signals:
    void picked(TColor colour);
    void cancelled();
    void failed(const QString& message);

private slots:
    void response(uint code, const QVariantMap& results);

private:
    struct Answer {
        uint code = 0;
        QVariantMap results;
    };
    void answer(Answer a); // by value: it ends the pick, which forgets the kept answers
    void fail(const QString& why);
    void end();

    QDBusConnection bus_;
    QTimer timeout_;
    bool running_ = false;
    QString expectedPath_; // where our token says the answer comes
    QString repliedPath_;  // where the portal's reply says it comes
    bool replied_ = false;
    QHash<QString, Answer> early_; // answers on paths not known yet
    int requests_ = 0;
};

} // namespace loomscope
