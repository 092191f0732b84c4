#pragma once

#include <QObject>
#include <QTimer>
#include <optional>
#include <string>

class QWidget;

namespace loomscope {

// Where a design handed over by a second start waits while a modal window is open. A question,
// a file dialog or the print window runs an event loop of its own, and the design must not
// change under it (a colour panel's "replace?" would then write the new design's colours into
// the old design's side file). The latest design waits, and is passed on once the last modal
// window has closed.
class HandOffGate : public QObject {
    Q_OBJECT
public:
    // `window` is the main window, which hears when the last modal window blocking it closes.
    explicit HandOffGate(QWidget* window);

    // Passes `path` on at once, or keeps it until no modal window is open.
    void receive(const std::string& path);
    const std::optional<std::string>& pending() const { return pending_; }

signals:
    void open(const std::string& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openPending();
    static bool modalWindowOpen();

    std::optional<std::string> pending_;
    QTimer poll_; // for a modal window that blocks only another window
};

} // namespace loomscope
