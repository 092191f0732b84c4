#pragma once

#include "render/exportjob.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

class QAction;
class QProgressDialog;
class QWidget;

namespace loomscope {

class ConfigStore;
class MainState;
class Tloomscope;
class UserMessages;

// The picture command: asks where to save the high-resolution picture of the shown design
// (proposing the design's name in its folder), makes it from the view's look on a worker
// thread with an off-screen context of its own, with the shop's details as its credit lines,
// shows that it is busy meanwhile (the command's action disabled, a busy cursor and note),
// and reports a failure. The view only lends what it shows; it starts nothing.
class PictureCommand : public QObject {
    Q_OBJECT
public:
    PictureCommand(Tloomscope& view, const MainState& state, const ConfigStore& config,
                   QAction& action, UserMessages& messages, QWidget* window);

    // The save dialog, then start().
    void run();
    // Starts the picture at `path`; false when one is still being made or the path is refused.
    bool start(const std::string& path);
    bool running() const { return watcher_.isRunning(); }
    ~PictureCommand() override;

signals:
    // The picture asked for is written, or it failed (and that was reported).
    void finished(bool ok);

private:
    void saved(const ExportResult& result);

    Tloomscope& view_;
    const MainState& state_;
    const ConfigStore& config_;
    QAction& action_;
    UserMessages& messages_;
    QWidget* window_;
    QProgressDialog* progress_ = nullptr;
    QFutureWatcher<ExportResult> watcher_;
};

} // namespace loomscope
