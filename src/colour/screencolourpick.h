#pragma once

#include "model/colour.h"
#include "pickroute.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QDBusConnection;
class QScreen;
class QWidget;

namespace loomscope {

class PortalColourPick;
class TForm1;
class UserMessages;

// One colour taken from anywhere on the screen. On X11 the screen is copied and shown frozen
// in the overlay (TForm1), where the user points at the colour; under Wayland, where a program
// cannot copy the screen, the desktop portal picks it. Either way the window that asks can be
// hidden meanwhile, so that what lies under it can be picked, and is shown again afterwards.
// When the screen can be neither copied nor asked, the user is told so.
class ScreenColourPick : public QObject {
    Q_OBJECT
public:
    using Capture = std::function<QImage(QScreen*)>;

    ScreenColourPick(QWidget* anchor, UserMessages& messages, QObject* parent = nullptr);
    ~ScreenColourPick() override;

    // Starts a pick; `hideWindow` hides the anchor's window for it. Ignored while one runs.
    void start(bool hideWindow);
    bool running() const { return running_; }

    // Test seams: where the picture of the screen comes from, and which route is taken.
    void setCapture(Capture capture) { capture_ = std::move(capture); }
    void setRoute(PickRoute route) { route_ = route; }
    void usePortalBus(const QDBusConnection& bus);
    PickRoute route() const { return route_; }

    TForm1* overlay() const { return overlay_.get(); }
    PortalColourPick* portal() const { return portal_; }

    // How long a hidden window is given to leave the screen before it is copied.
    static constexpr int kHideDelayMs = 100;

signals:
    void picked(TColor colour);
    void finished();

private:
    void proceed();
    void pickFromCapture();
    void finish(std::optional<TColor> colour, const QString& error = QString());
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* anchor_;
    UserMessages& messages_;
    std::unique_ptr<TForm1> overlay_;
    PortalColourPick* portal_ = nullptr;
    Capture capture_;
    PickRoute route_;
    QPointer<QWidget> hiddenWindow_;
    bool running_ = false;
};

} // namespace loomscope
